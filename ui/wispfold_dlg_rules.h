#pragma once

#include "res/resource.h"

// The main dialog's arithmetic, apart from its window code so that it can be checked alone.

struct IconOrigin {
    int x;
    int y;
};

// Where a minimised dialog draws its icon: centred in the client area, an odd pixel going to the
// right and down; signed division, truncating toward zero.
constexpr IconOrigin CenteredIconOrigin(int cxClient, int cyClient, int cxIcon, int cyIcon) {
    return {(cxClient - cxIcon + 1) / 2, (cyClient - cyIcon + 1) / 2};
}

// The system keeps flags in the low four bits of a system command, so the About command is
// every identifier whose bits 4 to 15 read IDM_ABOUTBOX (0x10 to 0x1F in the low 16 bits).
constexpr bool IsAboutBoxCommand(unsigned nID) {
    return (nID & 0xFFF0) == IDM_ABOUTBOX;
}
