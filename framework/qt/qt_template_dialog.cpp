// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/qt/qt_template_dialog.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <optional>

#include "framework/qt/qt_message_box.h"
#include "framework/window.h"

namespace kelvane::framework::qt {

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + denominator / 2) / denominator);
}

namespace {

// A trailing line of blanks shows nothing, so it needs no room.
QString WithoutTrailingSpace(const char* text) {
    QString result = QString::fromUtf8(text);
    while (!result.isEmpty() && result.back().isSpace()) result.chop(1);
    return result;
}

QFont FontOf(const QString& family, double points) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

}  // namespace

DialogFonts ChooseDialogFonts(const DialogResource& dialog) {
    // The template's face where the system has it, else faces of like proportions. The boxes
    // are measured in units of the template's size; where the texts would overflow them (our
    // faces are wider than the template's), they are set a little smaller.
    const QStringList candidates{QString::fromUtf8(dialog.fontFace),
                                 QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Arial"),
                                 QStringLiteral("Nimbus Sans"),
                                 QStringLiteral("Helvetica"),
                                 QStringLiteral("FreeSans"),
                                 QStringLiteral("DejaVu Sans Condensed"),
                                 QStringLiteral("DejaVu Sans")};
    const QStringList families = QFontDatabase::families();
    QStringList available;
    for (const QString& family : candidates) {
        if (families.contains(family, Qt::CaseInsensitive)) available.push_back(family);
    }
    if (available.isEmpty()) available.push_back(QString::fromUtf8(dialog.fontFace));

    const double points = dialog.fontPoints;
    for (double textPoints = points; textPoints >= points * 0.75; textPoints -= 0.25) {
        for (const QString& family : available) {
            const QFont layout = FontOf(family, points);
            const QFont text = FontOf(family, textPoints);
            if (TextsFit(dialog, BaseUnitsOf(layout), text)) return {layout, text};
        }
    }
    return {FontOf(available.front(), points), FontOf(available.front(), points * 0.75)};
}

bool TextsFit(const DialogResource& dialog, DialogBaseUnits units, const QFont& font) {
    const QFontMetrics metrics(font);
    for (const DialogControlResource& control : dialog.controls) {
        if (control.kind != ControlKind::StaticText) continue;
        const int width = MulDiv(control.width, units.x, 4);
        const int height = MulDiv(control.height, units.y, 8);
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, width, 100000), Qt::AlignLeft | Qt::TextWordWrap,
                                 WithoutTrailingSpace(control.text));
        if (needed.width() > width || needed.height() > height) return false;
    }
    return true;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as the dialog manager measures it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {std::max(1, (letters / 26 + 1) / 2), std::max(1, metrics.height())};
}

QtTemplateDialog::QtTemplateDialog(const DialogResource& dialog, QWidget* owner) : QDialog(owner) {
    const DialogFonts fonts = ChooseDialogFonts(dialog);
    setFont(fonts.text);
    units_ = BaseUnitsOf(fonts.layout);
    setWindowTitle(WindowTitleFor(dialog.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(ToPixels(0, 0, dialog.width, dialog.height).size());

    for (const DialogControlResource& control : dialog.controls) {
        const QRect place = ToPixels(control.x, control.y, control.width, control.height);
        const QString text = QString::fromUtf8(control.text);
        if (control.kind == ControlKind::DefaultPushButton) {
            auto* button = new QPushButton(text, this);
            button->setGeometry(place);
            button->setDefault(true);
            button->setAutoDefault(true);
            const int id = control.id;
            connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
            button->setFocus();
        } else {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setGeometry(place);
            label->setAttribute(Qt::WA_TranslucentBackground, control.transparent);
        }
    }
}

QRect QtTemplateDialog::ToPixels(int x, int y, int width, int height) const {
    return {MulDiv(x, units_.x, 4), MulDiv(y, units_.y, 8), MulDiv(width, units_.x, 4),
            MulDiv(height, units_.y, 8)};
}

namespace {

// Places a box not yet shown so that its frame is centred on the owner's frame, and kept on
// the owner's screen. The box's frame is not known before it shows; the same window manager
// draws it, so it is taken to be as wide as the owner's.
void CentreOverOwner(QWidget& box, const QWidget* owner) {
    if (owner == nullptr) return;
    const QRect ownerFrame = owner->frameGeometry();
    const QSize frame = box.size() + (ownerFrame.size() - owner->geometry().size());
    int x = ownerFrame.x() + (ownerFrame.width() - frame.width()) / 2;
    int y = ownerFrame.y() + (ownerFrame.height() - frame.height()) / 2;
    if (const QScreen* screen = owner->screen()) {
        const QRect room = screen->availableGeometry();
        x = std::max(room.left(), std::min(x, room.right() + 1 - frame.width()));
        y = std::max(room.top(), std::min(y, room.bottom() + 1 - frame.height()));
    }
    box.move(x, y);  // the frame's corner, for a window not yet shown
}

}  // namespace

int RunTemplateDialog(const DialogResource& dialog, QWidget* owner) {
    QtTemplateDialog box(dialog, owner);
    CentreOverOwner(box, owner);
    const int result = box.exec();
    // Escape and the close box reject; the default button ends with its own id.
    return result == IDOK ? IDOK : IDCANCEL;
}

}  // namespace kelvane::framework::qt
