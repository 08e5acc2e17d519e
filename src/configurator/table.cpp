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
    ShowParameters(TableSet::First);
    Redraw();
    TakeSnapshot();
}

void Table::SetupSecondSet(const TTableChart::CurveStyle& curve3, const TTableChart::CurveStyle& curve4,
                           const ParameterBoxes& boxes) {
    boxes2 = boxes;
    chart->AddSecondSet(curve3, curve4);
    hasSecondSet = true;
    model.SetDefaultParameters(TableSet::Second);
    ShowParameters(TableSet::Second);
    Redraw();
}

void Table::SetDefaultParameters(TableSet set) {
    model.SetDefaultParameters(set);
}

void Table::ShowParameters(TableSet set) {
    const ParameterTexts texts = ::ShowParameters(model.image(set));
    const ParameterBoxes& boxes = Boxes(set);
    for (int i = 0; i < ParameterCount; ++i)
        if (boxes[i])
            boxes[i]->setText(QString::fromStdString(texts[i]));
}

void Table::ReadParameters(TableSet set) {
    ParameterTexts texts;
    const ParameterBoxes& boxes = Boxes(set);
    for (int i = 0; i < ParameterCount; ++i)
        texts[i] = boxes[i] ? boxes[i]->text().toStdString() : std::string();
    model.ReadParameters(set, texts);
}

void Table::SetParameterText(Parameter parameter, const QString& text) {
    if (QLineEdit* box = boxes1[int(parameter)])
        box->setText(text);
}

QString Table::ParameterText(Parameter parameter) const {
    const QLineEdit* box = boxes1[int(parameter)];
    return box ? box->text() : QString();
}

void Table::CopyRegion(CopyMode mode, TableSet source, TableSet target) {
    model.CopyRegion(mode, source, target);
    Redraw();
}

void Table::SetPoint(int x, int y) {
    const std::optional<TableCurve> selected = chart->SelectedCurve();
    if (!selected)
        return;
    model.SetPoint(*selected, x, y, chart->InterpolationOn());
    Redraw();
}

std::string Table::ThresholdText() const {
    return ParameterText(Parameter::TpsThreshold).toStdString();
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
    ShowParameters(TableSet::First);
    Redraw();
}

void Table::Undo() {
    model.Undo();
    ShowParameters(TableSet::First);
    if (hasSecondSet)
        ShowParameters(TableSet::Second);
}

void Table::Redraw() {
    if (!chart)
        return;
    QVector<double> maf(MafCount), tab1(MafCount), tab2(MafCount), learned(MafCount);
    const auto fill = [&](const TableImage& image, TableCurve tab1Curve, TableCurve tab2Curve) {
        for (int x = 0; x < MafCount; ++x) {
            maf[x] = x;
            tab1[x] = image[x];
            tab2[x] = tab2Value(image, x);
        }
        chart->SetCurve(tab1Curve, maf, tab1);
        chart->SetCurve(tab2Curve, maf, tab2);
    };
    fill(model.image(TableSet::First), TableCurve::Set1Tab1, TableCurve::Set1Tab2);
    if (hasLearnedCurve) {
        for (int x = 0; x < MafCount; ++x)
            learned[x] = model.content().LearnedValues[x];
        chart->SetCurve(TableCurve::Learned, maf, learned);
    }
    if (hasSecondSet)
        fill(model.image(TableSet::Second), TableCurve::Set2Tab1, TableCurve::Set2Tab2);
    chart->Plot()->replot();
    RedrawDashboard();
}

void Table::SetupDashboard(QCustomPlot* plot) {
    LiveTps = 255;
    WindowBegin = WindowEnd = LiveMaf = LiveOut = 0;
    dashboard =
        new TDashboardChart(plot, chart->Style(TableCurve::Set1Tab1), chart->Style(TableCurve::Set1Tab2));
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

void Table::SetCorrectionWindow(int value, int begin, int end, CorrectionSend send) {
    WindowBegin = begin;
    WindowEnd = end;
    if (send == CorrectionSend::Correction)
        SendCorrection(value);
    else if (send == CorrectionSend::Window)
        SendWindow();
    RedrawDashboard();
}

void Table::ApplyCorrection(int value, int begin, int end, CorrectionScope scope) {
    model.ApplyCorrection(value, begin, end, scope);
    Redraw();
}

void Table::ClearLearned(int begin, int end) {
    model.ClearLearned(begin, end);
    Redraw();
}

void Table::SaveTabFile(TableSet set, const QString& fileName) {
    try {
        ReadParameters(set);
        saveTabFile(ToPath(fileName), model.image(set));
    } catch (const FileError& e) {
        ShowMessage(FromUtf8(tabFileErrorMessage(e.reason())));
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
    }
}

void Table::LoadTabFile(TableSet set, const QString& fileName) {
    try {
        model.LoadTabFile(set, readTabFile(ToPath(fileName)));
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
