#include "forms/PrinterRetry.h"

#include "forms/ShowNotices.h"
#include "platform/Dialogs.h"

PrinterTest CheckPrinterAsking(Dialogs& dialogs, const std::function<PrinterTest()>& check) {
    PrinterTest test = check();
    while (!test.retryQuestion.empty() &&
           dialogs.confirm(test.retryQuestion, Dialogs::Buttons::RetryCancel) ==
               Dialogs::Answer::Retry)
        test = check();
    ShowNotices(dialogs, test.notices);
    return test;
}
