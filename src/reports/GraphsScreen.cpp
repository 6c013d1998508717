#include "reports/GraphsScreen.h"

#include "forms/ScreenParts.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "store/ProgramState.h"
#include "viewer/ViewedFile.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr const char* Titles[GraphsScreen::ChartCount] = {
    "Takings per day of the current period",  "Takings of the last 12 months",
    "Takings by the hour of the day",         "Takings by sales person",
    "The 20 best-selling articles by amount", "The 20 best-selling articles by quantity"};

double units(long long hundredths) {
    return static_cast<double>(hundredths) / 100.0;
}

struct ChartData {
    std::vector<ChartBar> bars;
    std::vector<long long> balance; // empty: no line
};

ChartData chartData(const ReportFigures& f, int index) {
    switch (index) {
    case 0: {
        // "12-05" is room enough under a day's bar: the title names the period.
        ChartData days{f.periodDays, f.periodBalance};
        for (ChartBar& bar : days.bars)
            bar.label = bar.label.substr(5);
        return days;
    }
    case 1: {
        ChartData months{f.perMonth, f.monthBalance};
        for (ChartBar& bar : months.bars)
            bar.label = bar.label.substr(0, 3);
        return months;
    }
    case 2: {
        ChartData hours;
        for (size_t h = 0; h < f.perHour.size(); ++h)
            hours.bars.push_back({std::to_string(h), f.perHour[h]});
        return hours;
    }
    case 3:
        return {f.perPerson, {}};
    case 4:
        return {f.topByAmount, {}};
    default:
        return {f.topByQuantity, {}};
    }
}

bool noData(const ChartData& data) {
    return std::all_of(data.bars.begin(), data.bars.end(),
                       [](const ChartBar& bar) { return bar.value == 0; });
}

// A chart of bars, the balance as a line over them where there is one.
QChart* makeChart(const ChartData& data, const QString& barName) {
    auto* chart = new QChart;
    auto* set = new QBarSet(barName);
    QStringList labels;
    double low = 0, high = 0;
    for (const ChartBar& bar : data.bars) {
        *set << units(bar.value);
        labels << fromCp1252(bar.label);
        low = std::min(low, units(bar.value));
        high = std::max(high, units(bar.value));
    }
    auto* bars = new QBarSeries;
    bars->append(set);
    chart->addSeries(bars);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    if (labels.size() > 12 || (labels.size() > 6 && data.balance.empty()))
        categories->setLabelsAngle(-90);
    chart->addAxis(categories, Qt::AlignBottom);
    bars->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setLabelFormat("%.0f");
    chart->addAxis(values, Qt::AlignLeft);
    bars->attachAxis(values);
    if (!data.balance.empty()) {
        auto* line = new QLineSeries;
        line->setName("Balance");
        for (size_t i = 0; i < data.balance.size(); ++i) {
            line->append(static_cast<double>(i), units(data.balance[i]));
            low = std::min(low, units(data.balance[i]));
            high = std::max(high, units(data.balance[i]));
        }
        chart->addSeries(line);
        line->attachAxis(categories);
        line->attachAxis(values);
    }
    values->setRange(low, high > low ? high : low + 1);
    values->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

} // namespace

GraphsScreen::GraphsScreen(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle("GRAPHS SCREEN");
    setClientSize(630, 425);
    buildControls();
}

void GraphsScreen::buildControls() {
    setFocusPolicy(Qt::StrongFocus);
    m_title = new QLabel(this);
    m_title->setGeometry(8, 6, 614, 22);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFont(ScreenParts::arial(15, true));

    m_view = new QChartView(this);
    m_view->setGeometry(8, 30, 614, 360);
    m_view->setRenderHint(QPainter::Antialiasing);
    // The arrow keys choose the chart; they never scroll it.
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setAccessibleName("Chart");

    m_empty = new QLabel(NoSalesText, this);
    m_empty->setGeometry(8, 30, 614, 360);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setFont(ScreenParts::arial(16));
    m_empty->hide();

    m_prompt = ScreenParts::promptLine(this, QColor(0, 255, 0), ScreenParts::arial(13));
    m_prompt->move(m_prompt->x(), 398);
    m_prompt->setText("Arrow keys: next chart     P: print the chart     Esc: exit");
    nameRoles({{m_title, "titleLabel"},
               {m_view, "chartView"},
               {m_empty, "emptyLabel"},
               {m_prompt, "promptLabel"}});
}

void GraphsScreen::FormActivate() {
    guarded([this] {
        const DateTime now = m_services.clock.now();
        RecordsRequest request;
        request.shopDir = m_state.files.DataDir();
        request.today = now.year * 10000 + now.month * 100 + now.day;
        m_figures = ReadReportFigures(request);
    });
    showChart(0);
    setFocus();
}

QString GraphsScreen::shownTitle() const {
    return Titles[m_shown];
}

void GraphsScreen::showChart(int index) {
    m_shown = (index + ChartCount) % ChartCount;
    m_title->setText(
        QString("%1   (%2 of %3)").arg(Titles[m_shown]).arg(m_shown + 1).arg(ChartCount));
    const ChartData shown = chartData(m_figures, m_shown);
    const bool empty = noData(shown);
    m_empty->setVisible(empty);
    m_view->setVisible(!empty);
    QChart* old = m_view->chart();
    m_view->setChart(makeChart(shown, m_shown == 5 ? "Quantity" : "Takings"));
    delete old;
}

void GraphsScreen::printShown() {
    if (m_empty->isVisible()) {
        m_services.dialogs.message(NoSalesText);
        return;
    }
    // Drawn afresh at print size rather than copied from the screen.
    QImage image(1600, 1100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSize shown = m_view->viewport()->size();
    m_view->chart()->resize(image.size());
    m_view->scene()->render(&painter, QRectF(image.rect()), m_view->chart()->rect());
    painter.end();
    m_view->chart()->resize(shown);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const std::string title = toCp1252(shownTitle());
    PrintDialog::PictureDocument document{title, png.toStdString(),
                                          PdfPathFor(m_state.files.DataDir(), "Graph")};
    switch (m_services.printDialog.printPicture(document)) {
    case PrintDialog::Outcome::PrintedToPdf:
        m_services.dialogs.message("No printer is installed.\rThe chart was printed to " +
                                   document.pdfPath);
        break;
    case PrintDialog::Outcome::Failed:
        m_services.dialogs.message("The chart could not be printed.");
        break;
    case PrintDialog::Outcome::Printed:
    case PrintDialog::Outcome::Cancelled:
        break;
    }
}

void GraphsScreen::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        showChart(m_shown + 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        showChart(m_shown - 1);
        break;
    case Qt::Key_P:
        guarded([this] { printShown(); });
        break;
    case Qt::Key_Escape:
    case Qt::Key_Q:
    case Qt::Key_X:
        guarded([this] { leaveToMain(); });
        break;
    default:
        ZorviScreen::keyPressEvent(event);
        return;
    }
    event->accept();
}
