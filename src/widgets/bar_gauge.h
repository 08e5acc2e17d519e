#pragma once
// A bar gauge: a coloured bar on black that fills in proportion to its progress within its range.
// The dashboard's gauges show no number; the uploader's shows its percentage.

#include <QColor>
#include <QWidget>

class TGauge : public QWidget {
    Q_OBJECT
public:
    enum class Kind { VerticalBar, HorizontalBar };

    explicit TGauge(Kind kind, QWidget* parent = nullptr);

    void SetRange(int minValue, int maxValue);
    int MinValue() const { return minValue; }
    int MaxValue() const { return maxValue; }

    // Values outside the range are held at its ends.
    void SetProgress(int value);
    int Progress() const { return progress; }

    void SetForeColor(const QColor& colour);
    QColor ForeColor() const { return foreColor; }

    void SetShowText(bool show);
    bool ShowText() const { return showText; }

    Kind GaugeKind() const { return kind; }
    int PercentDone() const;

    QSize sizeHint() const override;

signals:
    void ForeColorChanged(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind;
    int minValue = 0;
    int maxValue = 100;
    int progress = 0;
    QColor foreColor = Qt::black;
    bool showText = false;
};
