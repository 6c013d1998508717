#pragma once

#include "forms/ZorviScreen.h"
#include "reports/ReportFigures.h"

#include <string>

class QChartView;
class QLabel;

// The graphs screen: the shop's takings drawn one chart at a time, from the
// figures the report reads out of the lasting records. The arrow keys move
// from chart to chart, P prints the one shown, Esc leaves.
class GraphsScreen : public ZorviScreen {
    Q_OBJECT
  public:
    GraphsScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

    static constexpr int ChartCount = 6;
    int shownChart() const { return m_shown; }
    QString shownTitle() const;
    const ReportFigures& figures() const { return m_figures; }

  protected:
    void FormActivate() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    void showChart(int index);
    void printShown();

    ReportFigures m_figures;
    int m_shown = 0;
    QLabel* m_title = nullptr;
    QChartView* m_view = nullptr;
    QLabel* m_empty = nullptr;
    QLabel* m_prompt = nullptr;
};
