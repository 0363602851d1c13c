// The saved match's record and its file: twelve little-endian 32-bit integers, 48 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Match_File {
    int size = 0; // length of the record in bytes, 48
    int Lives = 0;
    int Score = 0;
    int LevelFirst = 0;
    int LevelCrt = 0;
    int PlayedTime = 0;         // ms
    int LevelCrt_IsRunning = 0; // 1: left in the middle of LevelCrt, the board file holds it
    int Relaxed_Mode = 0;
    int Hammer_Points = 0;
    int Score_Start_Level = 0;
    int Time_Left = 0;
    int Time_Bought = 0;
};

constexpr int Match_FileBytes = 48;

// How a match file's stored size compared with the record this program knows.
enum MatchFileFit : int {
    MATCH_FILE_EXACT = 0,
    MATCH_FILE_LONGER = 1,  // a newer record: cut to the known fields
    MATCH_FILE_SHORTER = 2, // an older record: the missing fields read as 0
};

std::vector<std::uint8_t> MatchFile_Encode(const Match_File& m);
// Reads the record from a file's bytes as far as its stored size (and the bytes present)
// reach; fields beyond stay 0. Values read that the game cannot play are brought into range:
// levels into 1..Levels_Count, counts and times into 0..10^9 (the clock's times into what a
// level allows), flags into 0..1. Returns how the stored size fit.
MatchFileFit MatchFile_Decode(const std::vector<std::uint8_t>& bytes, Match_File& m);
// Writes the record through a temporary renamed over path; false when it cannot be written.
bool MatchFile_Write(const std::string& path, const Match_File& m);
// Reads the file's record; false when it cannot be opened as a regular file, or when it ends
// before the record's level (nothing to resume).
bool MatchFile_Read(const std::string& path, Match_File& m, MatchFileFit& fit);
