#pragma once
// The interface languages and the captions that follow the language switch. A caption holds both of
// its texts exactly as the window shows them.

#include <QString>

#include <initializer_list>

class QMenuBar;

enum class Language { Russian, English };

// The item index of the language selector: 1 is English, anything else (0, or -1 for typed text)
// Russian.
inline Language LanguageOf(int index) {
    return index == 1 ? Language::English : Language::Russian;
}

struct Caption {
    const char* russian;
    const char* english;
    QString In(Language language) const {
        return QString::fromUtf8(language == Language::English ? english : russian);
    }
};

// Captions that stand on more than one page.
inline constexpr Caption ConverterOutTitle{"Выход конвертера", "Converter OUT"};
inline constexpr Caption SmoothingCaption{"Сглаживание", "Smoothing"};
inline constexpr Caption EnrichmentCaption{"Обогащение УН", "Enrichment"};
inline constexpr Caption TpsThresholdCaption{"Переход на таб.№2", "Table 2 threshold"};

// Sets the top-level items of a menu bar from the left, hidden ones included; sub-items keep theirs.
void SetMenuCaptions(QMenuBar* bar, std::initializer_list<Caption> captions, Language language);

// Sets each widget's caption: the text of a label, button, check box, radio button or group box.
struct WidgetCaption {
    class QWidget* widget;
    Caption caption;
};
void SetCaptions(std::initializer_list<WidgetCaption> captions, Language language);
