#include "app/buttons.h"

#include "app/keyboard_nav.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "audio/sound_fx.h"
#include "engine/input.h"
#include "engine/system.h"

#include <algorithm>
#include <deque>
#include <memory>

namespace {

constexpr int Caption_Margin = 10; // the rounded ends of a button picture

// A caption wider than its button is narrowed to fit inside the rounded ends, so a long word
// in a wide font never spills over the picture's edge.
void DrawCaption(const std::string& caption, int cx, int cy, int room) {
    const int width = TextWidth(caption);
    if (width <= room || room <= 0) {
        DrawTextCentered(caption, cx, cy);
        return;
    }
    float sx = 1.0f, sy = 1.0f;
    GetScale(&sx, &sy);
    SetScale(sx * static_cast<float>(room) / static_cast<float>(width), sy);
    DrawText(caption, static_cast<float>(Trunc(cx - room * 0.5)),
             static_cast<float>(Trunc(cy - TextHeight() * 0.5)));
    SetScale(sx, sy);
}

// Buttons are kept for the whole run by the screens that own them.
template <class T> T* KeepForever(std::unique_ptr<T> b) {
    static std::deque<std::unique_ptr<T>> all;
    all.push_back(std::move(b));
    return all.back().get();
}

} // namespace

ButtonAnim* ButtonAnim::Create(int id, int x, int y, Image* img_off, Image* img_on,
                               Image* img_glow_on, int glow_x, int glow_y, int img_count,
                               int anim_time, const std::string& caption, Font* caption_font,
                               PushFn push_fn) {
    auto b = std::make_unique<ButtonAnim>();
    b->id = id;
    b->x = x;
    b->y = y;
    b->img_off = img_off;
    b->img_on = img_on;
    b->img_glow_on = img_glow_on;
    b->glow_x = glow_x;
    b->glow_y = glow_y;
    b->img_count = img_count;
    b->anim_time = anim_time;
    b->caption = caption;
    b->caption_font = caption_font;
    b->Push_Fn = push_fn;
    b->img_dx = ImageWidth(img_off);
    b->img_dy = ImageHeight(img_off);
    b->img_id = std::max(Rand(0, img_count - 1), 0); // buttons of one screen shimmer out of step
    return KeepForever(std::move(b));
}

ButtonAnim* ButtonAnim::CreateType(int type, int x, int y, const std::string& caption,
                                   PushFn push_fn, int id) {
    switch (type) {
    case BUTTON_MENU:
        return Create(id, x, y, ImgButtonMenuOff, ImgButtonMenuOn, ImgButtonMenuGlow, -4, -11, 16,
                      150, caption, FontPS28, push_fn);
    case BUTTON_PLAY:
        return Create(id, x, y, ImgButtonPlayOff, ImgButtonPlayOn, ImgButtonPlayGlow, -5, -5, 1, 50,
                      caption, FontPS30, push_fn);
    case BUTTON_SMALL:
        return Create(id, x, y, ImgButtonSmallOff, ImgButtonSmallOn, ImgButtonSmallGlow, -3, -7, 1,
                      150, caption, FontPS20, push_fn);
    default:
        RuntimeError("ButtonAnim.CreateType: Unknown btn type " + std::to_string(type));
    }
}

// The top row is outside; the other three edges are inside.
bool ButtonAnim::PointerOver() const {
    return x <= MouseXPos && MouseXPos <= x + img_dx && y < MouseYPos && MouseYPos <= y + img_dy;
}

void ButtonAnim::Update() {
    key_pushed = 0;
    const bool over = PointerOver();
    // The keyboard's focus glows like the pointer.
    const bool focused = KeyNav_Offer(this, {x, y, img_dx, img_dy});
    if (!over && !focused) {
        state = 0;
        return;
    }
    const int cx = over ? MouseXPos : x + img_dx / 2, cy = over ? MouseYPos : y + img_dy / 2;
    if (state == 0) Snd_PlayObj(SndClick, Snd_FxVolume(), 2.0f, cx, cy);
    state |= BUTTON_OVER;
    if (KeyNav_TakePush(this)) {
        key_pushed = 1;
        if (!Push_Fn) return; // the owner sees Pushed() in this pass
        Push_Fn();
        Snd_PlayObj(SndClick, Snd_FxVolume(), 0.5f, cx, cy);
        state = 0;
        return;
    }
    if (!over) return;
    if (MouseLeftPressed) state |= BUTTON_PRESSED;
    if (!(MouseLeftReleased && (state & BUTTON_PRESSED))) return;
    MouseLeftDown = 0; // no other control sees this press any more
    MouseLeftPrev = 0;
    if (!Push_Fn) return; // the owner acts on bit 2 itself in this pass
    Push_Fn();
    Snd_PlayObj(SndClick, Snd_FxVolume(), 0.5f, MouseXPos, MouseYPos);
    state = 0;
}

bool ButtonAnim::Pushed() const {
    return key_pushed || ((state & BUTTON_PRESSED) && MouseLeftReleased);
}

void ButtonAnim::Draw() {
    Anim_delay = Trunc(Anim_delay - DeltaMs);
    if (Anim_delay <= 0) {
        anim_time_crt = Trunc(anim_time_crt - DeltaMs);
        if (anim_time_crt < 0) {
            anim_time_crt = anim_time;
            if (++img_id >= img_count) {
                img_id = 0;
                Anim_delay = Rand(10000, 17000);
            }
        }
    }
    Image* picture = img_off;
    if (state & BUTTON_OVER) {
        if (img_glow_on)
            DrawImage(img_glow_on, static_cast<float>(x + glow_x), static_cast<float>(y + glow_y),
                      0);
        picture = img_on;
    }
    DrawImage(picture, static_cast<float>(x), static_cast<float>(y), img_id);
    SetColor(255, 255, 255);
    SetImageFont(caption_font);
    DrawCaption(caption, x + img_dx / 2, y + img_dy / 2, img_dx - 2 * Caption_Margin);
    SetColor(255, 255, 255);
}

void ButtonAnim::UpdateDraw() {
    Update();
    Draw();
}

Button_Interface* Button_InterfaceCreate(int x, int y, int id, Image* image, int image_id) {
    auto b = std::make_unique<Button_Interface>();
    b->x = x;
    b->y = y;
    b->Button_Id = id;
    b->image = image;
    b->image_id = image_id;
    b->image_dx = ImageWidth(image);
    b->image_dy = ImageHeight(image);
    return KeepForever(std::move(b));
}

void Button_Interface::CheckMe() {
    Button_State = INTERFACE_IDLE;
    if (ClimbingTimer <= 0) image_id = 0;
    bool over =
        x <= MouseXPos && MouseXPos <= x + image_dx && y <= MouseYPos && MouseYPos <= y + image_dy;
    const bool focused = KeyNav_Offer(this, {x, y, image_dx, image_dy});
    if (!over) ButtonDown = 0;
    if (!over && !focused) return;
    image_id = 1;
    Button_State = INTERFACE_HOVER;
    if (KeyNav_TakePush(this)) {
        Button_State = INTERFACE_CLICKED;
        return;
    }
    if (!over) return;
    if (MouseLeftDown) { // this pass's view, which also holds a click shorter than a pass
        if (MouseLeftPressed) {
            ox = MouseXPos - x;
            oy = MouseYPos - y;
        }
        ButtonDown = 1;
    } else if (ButtonDown) {
        Button_State = INTERFACE_CLICKED;
        ButtonDown = 0;
    }
}

void Button_Interface::Climbing() {
    ClimbingTimer = Trunc(ClimbingTimer - DeltaMs);
    if (ClimbingTimer <= 0) {
        ClimbingTimer = 200;
        image_id = 1 - image_id;
    }
}
