// The language choice (dialog 129): a Chinese and a Russian picture button.
#pragma once

#include <windows.h>

// Where the buttons go once their pictures are known: both as large as the Chinese picture,
// stacked with the template's margin around and between them.
struct LanguageDialogLayout {
  RECT chineseButton;
  RECT russianButton;
  SIZE client;
};

// `origin` is the Chinese button's top-left corner in the template, `picture` the size of the
// Chinese picture.
LanguageDialogLayout ComputeLanguageDialogLayout(POINT origin, SIZE picture);

// Runs the dialog modally from `resources`. Sets `*language` to the index chosen and returns true
// when a language was chosen; false, with `*language` untouched, when the dialog was closed or
// cancelled.
bool ChooseLanguage(HINSTANCE resources, int* language);
