#pragma once
// Small helpers that create a control with its object name, so tests and the settings code can find
// every control by the name it has in the window's layout.

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <utility>

// Tahoma 8 pt; where Tahoma is missing, a face of similar width keeps every page within the window.
inline QFont BaseFont() {
    for (const char* family : {"Tahoma", "Liberation Sans", "Arial"}) {
        const QFont font(family, 8);
        // The font system answers every family with some face; take only a real match.
        if (QFontInfo(font).family() == family)
            return font;
    }
    return QFont(QString(), 8);
}

template <class Widget, class... Args> Widget* Named(const char* name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QLabel* NamedLabel(const char* name, const QString& caption, bool bold = false) {
    auto* label = Named<QLabel>(name, caption);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// Up to three digits, as every table parameter box takes.
constexpr const char* ThreeDigitMask = "000; ";
// An optional sign and up to three digits.
constexpr const char* SignedThreeDigitMask = "#000; ";

inline QLineEdit* NamedEdit(const char* name, const QString& text, const QString& mask = {},
                            int maxLength = 0) {
    auto* edit = Named<QLineEdit>(name);
    if (!mask.isEmpty())
        edit->setInputMask(mask);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setText(text);
    return edit;
}

// The enrichment factor shows below 0 for stored values under 128, so its box also takes a sign.
inline QLineEdit* ParameterEdit(const char* name, const QString& text, bool signedValue = false) {
    auto* edit = signedValue ? NamedEdit(name, text, SignedThreeDigitMask, 4)
                             : NamedEdit(name, text, ThreeDigitMask, 3);
    edit->setFixedWidth(36);
    return edit;
}

inline QLineEdit* ReadOnlyEdit(const char* name, const QString& text, const QString& mask = {},
                               int maxLength = 0) {
    auto* edit = NamedEdit(name, text, mask, maxLength);
    edit->setReadOnly(true);
    return edit;
}

inline void SetBackground(QWidget* widget, const QColor& colour) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}
