// SPDX-License-Identifier: GPL-3.0-or-later
// A modal dialog built from one of our dialog templates, laid out in dialog units of its font.
#pragma once

#include <QDialog>
#include <QFont>

#include "framework/resources.h"

namespace kelvane::framework::qt {

// Pixels per 4 horizontal and per 8 vertical dialog units, from the font's average character
// width and its height.
struct DialogBaseUnits {
    int x;
    int y;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);

// Whether every static text of the template fits its box, the boxes measured in units and the
// texts set in font.
bool TextsFit(const DialogResource& dialog, DialogBaseUnits units, const QFont& font);

// layout: the font whose units place the controls; text: the font the controls are drawn in.
struct DialogFonts {
    QFont layout;
    QFont text;
};
// The template's font or, where the system lacks it, a face of like proportions, drawn small
// enough for every static text to fit its box.
DialogFonts ChooseDialogFonts(const DialogResource& dialog);

// value * numerator / denominator, rounded.
int MulDiv(int value, int numerator, int denominator);

class QtTemplateDialog final : public QDialog {
  public:
    QtTemplateDialog(const DialogResource& dialog, QWidget* owner);

    // Template coordinates to pixels.
    QRect ToPixels(int x, int y, int width, int height) const;

  private:
    DialogBaseUnits units_;
};

// IDOK when the dialog ended by its default button or Enter, IDCANCEL otherwise.
int RunTemplateDialog(const DialogResource& dialog, QWidget* owner);

}  // namespace kelvane::framework::qt
