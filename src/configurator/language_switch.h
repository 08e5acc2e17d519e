#pragma once
// Relabels the whole window in the chosen language at once: the tabs, every page's captions and menu
// items, the log chart's axis titles, the progress window's caption, and the sound folder.

#include "language.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QTabWidget;
class TAutotuningSetupPage;
class TDashboardPage;
class TFirmwarePage;
class TLiveRun;
class TLogPage;
class TMainPage;
class TTableComparePage;
class TTableGraphPage;

class TLanguageSwitch {
public:
    struct Objects {
        QTabWidget& mainPageControl;
        QTabWidget& tablePageControl;
        QTabWidget& pageControl1;
        TMainPage& mainPage;
        TTableGraphPage& tableGraphPage;
        TTableComparePage& tableComparePage;
        TLogPage& logPage;
        TDashboardPage& dashboardPage;
        TAutotuningSetupPage& setupPage;
        TFirmwarePage& firmwarePage;
        TLiveRun& liveRun;
    };
    explicit TLanguageSwitch(const Objects& objects);

    // index: the language selector's item index; 1 is English, anything else Russian. The sound
    // folder is set for a listed language only.
    void ApplyLanguage(int index);
    // The progress window is created after the main window; it takes the captions in force and
    // follows every later switch.
    void AdoptProgressWindow(QWidget* window);

private:
    void CaptionProgressWindow();

    Objects objects;
    QPointer<QWidget> progressWindow;
    // None until the first switch: the design captions stand until then.
    std::optional<Language> applied;
};
