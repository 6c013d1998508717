#include "app/ProgramBlock.h"

#include "app/MainScreen.h"
#include "cashup/CashUpScreen.h"
#include "consolidation/ConsolidationScreen.h"
#include "consolidation/Removal.h"
#include "expenses/ExpenseScreen.h"
#include "forms/AccessibleNames.h"
#include "inventory/InventoryScreen.h"
#include "platform/Services.h"
#include "pricelist/PriceListScreen.h"
#include "reports/GraphsScreen.h"
#include "sales/SalesScreen.h"
#include "setup/SetupScreen.h"
#include "viewer/ViewerScreen.h"

namespace {
// A screen that returns to the main screen when it is left.
template <typename Screen, typename... Owners>
Screen* returningTo(MainScreen* main, ProgramState& state, Services& services, Owners&... owners) {
    auto* screen = new Screen(state, services, owners...);
    screen->setMainScreen(main);
    return screen;
}
} // namespace

ProgramBlock::ProgramBlock(Services& services, const std::string& dataDir)
    : state(dataDir), till(state, services.ports, services.launcher) {
    till.setClock([&services] { return services.clock.now(); });
    Form1 = new MainScreen(state, services, till, dataDir);
    Form2 = returningTo<SetupScreen>(Form1, state, services);
    Form3 = returningTo<PriceListScreen>(Form1, state, services);
    Form4 = returningTo<SalesScreen>(Form1, state, services, till);
    Form5 = returningTo<ExpenseScreen>(Form1, state, services, till);
    Form6 = returningTo<ConsolidationScreen>(Form1, state, services);
    Form7 = returningTo<InventoryScreen>(Form1, state, services);
    auto* viewer = new ViewerScreen(state, services);
    viewer->setMain(Form1, Form1->Label3);
    Form8 = viewer;
    auto* consolidation = static_cast<ConsolidationScreen*>(Form6);
    CashUp = returningTo<CashUpScreen>(Form1, state, services);
    Graphs = returningTo<GraphsScreen>(Form1, state, services);
    Form1->setScreens({Form2, Form3, Form4, Form5, Form6, Form7, Form8, CashUp, Graphs,
                       [consolidation] { consolidation->offerRemoval(); }});
    for (QWidget* w : {static_cast<QWidget*>(Form1), Form2, Form3, Form4, Form5, Form6, Form7,
                       Form8, CashUp, Graphs}) {
        w->move((services.screen.width() - w->width()) / 2,
                (services.screen.height() - w->height()) / 2);
        NameFieldsByTheirLabels(w);
    }
}

ProgramBlock::~ProgramBlock() {
    for (QWidget* w : {Graphs, CashUp, Form8, Form7, Form6, Form5, Form4, Form3, Form2,
                       static_cast<QWidget*>(Form1)})
        delete w;
    // Last of all, when no screen holds a file any more.
    RemoveRecordedFiles(state.RemoveAtEnd);
}

void ProgramBlock::show() {
    Form1->show();
}
