#include "app/ProgramBlock.h"

#include "app/MainScreen.h"
#include "consolidation/ConsolidationScreen.h"
#include "consolidation/Removal.h"
#include "expenses/ExpenseScreen.h"
#include "inventory/InventoryScreen.h"
#include "platform/Services.h"
#include "pricelist/PriceListScreen.h"
#include "sales/SalesScreen.h"
#include "setup/SetupScreen.h"
#include "viewer/ViewerScreen.h"

ProgramBlock::ProgramBlock(Services& services, const std::string& dataDir) {
    Form1 = new TForm1(state, services, dataDir);
    auto* setup = new TForm2(state, services);
    setup->setMainScreen(Form1);
    Form2 = setup;
    auto* priceEditor = new TForm3(state, services);
    priceEditor->setMainScreen(Form1);
    Form3 = priceEditor;
    auto* sales = new TForm4(state, services);
    sales->setMainScreen(Form1);
    Form4 = sales;
    auto* expense = new TForm5(state, services);
    expense->setMainScreen(Form1);
    Form5 = expense;
    auto* consolidation = new TForm6(state, services);
    consolidation->setMainScreen(Form1);
    Form6 = consolidation;
    auto* inventory = new TForm7(state, services);
    inventory->setMainScreen(Form1);
    Form7 = inventory;
    auto* viewer = new TForm8(state, services);
    viewer->setMain(Form1, Form1->Label3);
    Form8 = viewer;
    Form1->setScreens({Form2, Form3, Form4, Form5, Form6, Form7, Form8});
    for (QWidget* w :
         {static_cast<QWidget*>(Form1), Form2, Form3, Form4, Form5, Form6, Form7, Form8})
        w->move((services.screen.width() - w->width()) / 2,
                (services.screen.height() - w->height()) / 2);
}

ProgramBlock::~ProgramBlock() {
    for (QWidget* w :
         {Form8, Form7, Form6, Form5, Form4, Form3, Form2, static_cast<QWidget*>(Form1)})
        delete w;
    // Last of all, when no screen holds a file any more.
    RemoveRecordedFiles(state.RemoveAtEnd);
}

void ProgramBlock::show() {
    Form1->show();
}
