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
    main = new MainScreen(state, services, till, dataDir);
    setup = returningTo<SetupScreen>(main, state, services);
    priceList = returningTo<PriceListScreen>(main, state, services);
    sales = returningTo<SalesScreen>(main, state, services, till);
    expense = returningTo<ExpenseScreen>(main, state, services, till);
    consolidation = returningTo<ConsolidationScreen>(main, state, services);
    inventory = returningTo<InventoryScreen>(main, state, services);
    viewer = new ViewerScreen(state, services);
    viewer->setMain(main, main->exitHint());
    cashUp = returningTo<CashUpScreen>(main, state, services);
    graphs = returningTo<GraphsScreen>(main, state, services);
    main->setScreens({setup, priceList, sales, expense, consolidation, inventory, viewer, cashUp,
                      graphs, [this] { consolidation->offerRemoval(); }});
    for (QWidget* w : screens()) {
        w->move((services.screen.width() - w->width()) / 2,
                (services.screen.height() - w->height()) / 2);
        NameFieldsByTheirLabels(w);
    }
}

std::vector<QWidget*> ProgramBlock::screens() const {
    return {main,          setup,     priceList, sales,  expense,
            consolidation, inventory, viewer,    cashUp, graphs};
}

ProgramBlock::~ProgramBlock() {
    const std::vector<QWidget*> all = screens();
    for (auto w = all.rbegin(); w != all.rend(); ++w)
        delete *w;
    // Last of all, when no screen holds a file any more.
    RemoveRecordedFiles(state.RemoveAtEnd);
}

void ProgramBlock::show() {
    main->show();
}
