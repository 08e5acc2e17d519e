#include "language.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>

void SetMenuCaptions(QMenuBar* bar, std::initializer_list<Caption> captions, Language language) {
    const QList<QAction*> items = bar->actions();
    int position = 0;
    for (const Caption& caption : captions) {
        if (position < items.size())
            items[position]->setText(caption.In(language));
        ++position;
    }
}

void SetCaptions(std::initializer_list<WidgetCaption> captions, Language language) {
    for (const WidgetCaption& entry : captions) {
        const QString text = entry.caption.In(language);
        if (auto* label = qobject_cast<QLabel*>(entry.widget))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(entry.widget))
            button->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(entry.widget))
            group->setTitle(text);
    }
}
