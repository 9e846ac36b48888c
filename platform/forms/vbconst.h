#pragma once
// Constants of the forms runtime as the program's code uses them: message-box styles and
// answers, key codes and character codes for key filters, mouse pointers, and the twip.

namespace forms {

// Message-box buttons (low bits) and icons.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbAbortRetryIgnore = 2;
constexpr int vbYesNoCancel = 3;
constexpr int vbYesNo = 4;
constexpr int vbRetryCancel = 5;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
constexpr int vbDefaultButton1 = 0;
constexpr int vbDefaultButton2 = 256;
constexpr int vbDefaultButton3 = 512;

// Message-box answers.
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbAbort = 3;
constexpr int vbRetry = 4;
constexpr int vbIgnore = 5;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// Character codes a key-press handler receives (KeyAscii) and key codes of key events.
constexpr int vbKeyBack = 8;
constexpr int vbKeyTab = 9;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeySpace = 32;
constexpr int vbKeyPageUp = 33;
constexpr int vbKeyPageDown = 34;
constexpr int vbKeyEnd = 35;
constexpr int vbKeyHome = 36;
constexpr int vbKeyLeft = 37;
constexpr int vbKeyUp = 38;
constexpr int vbKeyRight = 39;
constexpr int vbKeyDown = 40;
constexpr int vbKeyInsert = 45;
constexpr int vbKeyDelete = 46;
constexpr int vbKey0 = 48;
constexpr int vbKey9 = 57;
constexpr int vbKeyA = 65;
constexpr int vbKeyZ = 90;
constexpr int vbKeyF1 = 112;

// Mouse pointers.
constexpr int vbDefault = 0;
constexpr int vbArrow = 1;
constexpr int vbHourglass = 11;

// Show styles.
constexpr int vbModeless = 0;
constexpr int vbModal = 1;

// Window metrics are given in twips; the screen has 15 twips per pixel.
constexpr int TwipsPerPixel = 15;
constexpr int twipsToPixels(int twips)
{
    return twips / TwipsPerPixel;
}
constexpr int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

} // namespace forms
