// The main page: port selection, language and the converter's firmware version.

#include "main_window.h"

#include "control_factory.h"

#include <QComboBox>
#include <QGridLayout>

QWidget* TForm1::BuildMainPage() {
    auto* page = Named<QWidget>("MainTabSheet");
    SetBackground(page, QColor("#C9A5A8"));

    Label20 = NamedLabel("Label20", "COM port");
    ComComboBox1 = Named<QComboBox>("ComComboBox1");
    ComComboBox1->setEditable(false);
    ComComboBox1->setMinimumWidth(160);

    Label21 = NamedLabel("Label21", "Язык/Language");
    ComboBoxLanguage = Named<QComboBox>("ComboBoxLanguage");
    ComboBoxLanguage->setEditable(true);
    ComboBoxLanguage->addItems({"Русский", "English"});
    ComboBoxLanguage->setCurrentIndex(0);
    ComboBoxLanguage->setMinimumWidth(160);

    LabelFirmware = NamedLabel("LabelFirmware", "Версия прошивки V ", true);
    QFont italic = LabelFirmware->font();
    italic.setItalic(true);
    LabelFirmware->setFont(italic);

    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setVerticalSpacing(8);
    layout->addWidget(Label20, 0, 0);
    layout->addWidget(ComComboBox1, 1, 0);
    layout->addWidget(Label21, 2, 0);
    layout->addWidget(ComboBoxLanguage, 3, 0);
    layout->addWidget(LabelFirmware, 4, 0);
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(1, 1);
    return page;
}
