#include "table.h"

#include "colour.h"
#include "message_box.h"
#include "path_text.h"

#include <QLineEdit>
#include <qcustomplot.h>

#include <exception>

Table::Table(QObject* owner) : QObject(owner) {}

void Table::SetupTableChart(QCustomPlot* plot, bool learnedCurve, const TTableChart::CurveStyle& curve0,
                            const TTableChart::CurveStyle& curve1, const ParameterBoxes& boxes) {
    boxes1 = boxes;
    model.SetEndsInterpolation(false);
    model.SetInvert(false);
    chart = new TTableChart(plot, learnedCurve, curve0, curve1);
    hasLearnedCurve = learnedCurve;
    connect(chart, &TTableChart::PointChosen, this, &Table::SetPoint);
    connect(chart, &TTableChart::ToggleClicked, this, [this] { model.clearKnotMarks(); });
    connect(chart, &TTableChart::AxesRestored, this, &Table::Redraw);
    model.SetDefaultParameters(TableSet::First);
    ShowParameters(1);
    Redraw();
    TakeSnapshot();
}

void Table::SetupSecondSet(const TTableChart::CurveStyle& curve3, const TTableChart::CurveStyle& curve4,
                           const ParameterBoxes& boxes) {
    boxes2 = boxes;
    chart->AddSecondSet(curve3, curve4);
    hasSecondSet = true;
    model.SetDefaultParameters(TableSet::Second);
    ShowParameters(2);
    Redraw();
}

void Table::SetDefaultParameters(int set) {
    model.SetDefaultParameters(SetOf(set));
}

void Table::ShowParameters(int set) {
    const ParameterTexts texts = ::ShowParameters(model.image(SetOf(set)));
    const ParameterBoxes& boxes = Boxes(set);
    for (int i = 0; i < ParameterCount; ++i)
        if (boxes[i])
            boxes[i]->setText(QString::fromStdString(texts[i]));
}

void Table::ReadParameters(int set) {
    ParameterTexts texts;
    const ParameterBoxes& boxes = Boxes(set);
    for (int i = 0; i < ParameterCount; ++i)
        texts[i] = boxes[i] ? boxes[i]->text().toStdString() : std::string();
    model.ReadParameters(SetOf(set), texts);
}

void Table::CopyRegion(CopyMode mode, int source, int target) {
    model.CopyRegion(mode, SetOf(source), SetOf(target));
    Redraw();
}

void Table::SetPoint(int x, int y) {
    static constexpr TableCurve curves[] = {TableCurve::Set1Tab1, TableCurve::Set1Tab2, TableCurve::Learned,
                                            TableCurve::Set2Tab1, TableCurve::Set2Tab2};
    const int selected = chart->SelectedCurve();
    if (selected < 0 || selected >= int(std::size(curves)))
        return;
    model.SetPoint(curves[selected], x, y, chart->InterpolationOn());
    Redraw();
}

std::string Table::ThresholdText() const {
    return boxes1[int(Parameter::TpsThreshold)] ? boxes1[int(Parameter::TpsThreshold)]->text().toStdString()
                                                : "";
}

void Table::SetActiveTableValue(int x, int value, int tps, bool markKnot) {
    model.SetActiveTableValue(x, value, tps, markKnot, ThresholdText());
    Redraw();
}

int Table::ActiveTableValue(int x, int tps) const {
    return model.ActiveTableValue(x, tps, ThresholdText());
}

void Table::InterpolateKnots(int a) {
    model.InterpolateKnots(a);
}

void Table::ReplaceWithIdentity() {
    model.replaceWithIdentity();
    ShowParameters(1);
    Redraw();
}

void Table::Redraw() {
    if (!chart)
        return;
    QVector<double> maf(MafCount), tab1(MafCount), tab2(MafCount), learned(MafCount);
    const auto fill = [&](const TableImage& image, int tab1Curve) {
        for (int x = 0; x < MafCount; ++x) {
            maf[x] = x;
            tab1[x] = image[x];
            tab2[x] = tab2Value(image, x);
        }
        chart->SetCurve(tab1Curve, maf, tab1);
        chart->SetCurve(tab1Curve + 1, maf, tab2);
    };
    fill(model.image(TableSet::First), 0);
    if (hasLearnedCurve) {
        for (int x = 0; x < MafCount; ++x)
            learned[x] = model.content().LearnedValues[x];
        chart->SetCurve(2, maf, learned);
    }
    if (hasSecondSet)
        fill(model.image(TableSet::Second), 3);
    chart->Plot()->replot();
    RedrawDashboard();
}

void Table::SetupDashboard(QCustomPlot* plot) {
    LiveTps = 255;
    WindowBegin = WindowEnd = LiveMaf = LiveOut = 0;
    dashboard = new TDashboardChart(plot, chart->Style(0), chart->Style(1));
    connect(dashboard, &TDashboardChart::AxesRestored, this, &Table::RedrawDashboard);
    RedrawDashboard();
}

void Table::RedrawDashboard() {
    if (!dashboard)
        return;
    const TableContent& content = model.content();
    dashboard->Fill({&content.set1, hasLearnedCurve ? &content.LearnedValues : nullptr, WindowBegin,
                     WindowEnd, LiveMaf, LiveOut, table2InEffect(LiveTps, ThresholdText())});
}

void Table::ShowLiveSample(int maf, int out, int tps) {
    LiveMaf = maf;
    LiveOut = out;
    LiveTps = tps;
    RedrawDashboard();
}

void Table::SetDashboardColour(int colour) {
    if (dashboard)
        dashboard->SetColour(ColourFromBgr(colour));
}

void Table::SetCorrectionWindow(int value, int begin, int end, int kind) {
    WindowBegin = begin;
    WindowEnd = end;
    if (kind == 1)
        SendCorrection(value);
    else if (kind == 2)
        SendWindow();
    RedrawDashboard();
}

void Table::ApplyCorrection(int value, int begin, int end, int mode) {
    model.ApplyCorrection(value, begin, end, mode);
    Redraw();
}

void Table::ClearLearned(int begin, int end) {
    model.ClearLearned(begin, end);
    Redraw();
}

void Table::SaveTabFile(int set, const QString& fileName) {
    try {
        ReadParameters(set);
        saveTabFile(ToPath(fileName), model.image(SetOf(set)));
    } catch (const FileError& e) {
        ShowMessage(FromUtf8(tabFileErrorMessage(e.reason())));
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
    }
}

void Table::LoadTabFile(int set, const QString& fileName) {
    try {
        model.LoadTabFile(SetOf(set), readTabFile(ToPath(fileName)));
    } catch (const FileError&) {
        ShowMessage(fileName + FromUtf8(TabFileLoadErrorMessage));
        return;
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
        return;
    }
    ShowParameters(set);
    Redraw();
}
