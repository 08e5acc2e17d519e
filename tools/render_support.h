#pragma once
// What the render steps share: saving a widget's picture, letting the program run for a while, and
// answering the message boxes a step opens, so that nothing waits for a user.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QImage;
class QWidget;

// How a picture is stored: as the screen shows it, or as an 8-bit palette image for the guide.
enum class PngDepth { TrueColour, Palette };

// Writes image to path and prints what was written; false when the file could not be written.
bool SavePicture(const QImage& image, const QString& path, PngDepth depth);
// The widget as it is drawn now, once pending events have been handled.
bool SaveWidget(QWidget* widget, const QString& path, PngDepth depth);

// Lets the event loop run for that long: the program's timers, the live reader's hand-offs and the
// simulated converter carry on meanwhile.
void RunFor(int milliseconds);

// Answers every message box with OK once it has been seen open, printing and keeping its text, so a
// step that opens one goes on. Before answering, onOpen may picture the window behind the box.
class TMessageBoxAnswerer : public QObject {
public:
    TMessageBoxAnswerer();
    std::function<void(const QString& text)> onOpen;
    const QStringList& Texts() const { return texts; }

private:
    void Poll();
    QTimer timer;
    QStringList texts;
};
