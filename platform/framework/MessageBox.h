#pragma once
// Message boxes with the classic type flags and results. Every box goes through the prompt
// seam (PromptSeam.h), so tests answer it and read what it said.
#include <string>

class QWidget;

// Buttons (low 4 bits).
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_TYPEMASK = 0xF;
// Icons: the four kinds (bits 4-7).
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_ICONMASK = 0xF0;
// Default button (bits 8-11).
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_DEFMASK = 0xF00;
// Modality: a system-modal box stays on top of every window of the program.
inline constexpr unsigned MB_SYSTEMMODAL = 0x1000;

// Results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The program's caption for its own boxes.
inline constexpr const char* kApplicationTitle = "Qelvo";

// A box captioned "Qelvo"; returns the button pressed (IDOK, IDYES, ...).
int QelvoMessageBox(const std::string& text, unsigned type = MB_OK, QWidget* parent = nullptr);
// A box with its own caption (the connection holder's "DbConnection", Excel's "ERROR").
int ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption, unsigned type);
// The sound of a message box of that icon kind (no box).
void MessageBeep(unsigned type);
