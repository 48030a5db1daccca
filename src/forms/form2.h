#pragma once
// The video window: one player that fills it. Resizable; its size is kept in
// the preferences.
#include "platform/player.h"
#include "toolkit/form.h"

namespace tarvolin {

struct Form2 : Form {
    Form2();
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    // Lays the player over the window's whole inner area (the window's height
    // less 540 twips of title bar and borders); never a negative size.
    void fitPlayer();

    Player WindowsMediaPlayer1;
};

}  // namespace tarvolin
