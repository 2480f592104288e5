// Message-box styles and answers, the Windows values, for whoever shows or answers a box.
#pragma once

constexpr unsigned kMbOk = 0x00;
constexpr unsigned kMbOkCancel = 0x01;
constexpr unsigned kMbYesNo = 0x04;
constexpr unsigned kMbIconStop = 0x10;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbDefaultButton2 = 0x100;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// The button a box of `style` answers with when nobody presses one: OK, or Yes unless the second
// button is the default.
int DefaultButton(unsigned style);
