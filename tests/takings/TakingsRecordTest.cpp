#include "takings/TakingsRecord.h"
#include "pricelist/CurrentArticle.h"
#include "support/CaseTable.h"
#include "till/SaleState.h"

#include <gtest/gtest.h>

TEST(WriteResultsLine, Columns) {
    for (const TestCase& c : ReadTable("takings/line-records.table")) {
        SCOPED_TRACE(c.where + " " + c.name);
        CurrentArticle article;
        article.WholesalePrice = c.number("wholesale");
        article.SalePrice = c.number("price");
        SaleState sale;
        sale.EnteredCode = c["code"];
        sale.Quantity = c.number("quantity");
        sale.UnitPrice = c.number("unit");
        sale.LineAmount = c.number("amount");
        EXPECT_EQ(ResultsLineText(c["person"].at(0), sale, article), c["record"]);
    }
}

TEST(WriteResultsTotal, Columns) {
    for (const TestCase& c : ReadTable("takings/total-records.table")) {
        SCOPED_TRACE(c.where + " " + c.name);
        SaleState sale;
        sale.PaidCash = c.number("cash");
        sale.PaidCheque = c.number("cheque");
        sale.PaidCredit = c.number("credit");
        sale.SaleTax = c.number("tax");
        sale.SaleTotal = c.number("total");
        sale.Received = c.number("received");
        sale.ChangeDue = c.number("change");
        EXPECT_EQ(ResultsTotalText(sale, c["clock"]), c["record"]);
    }
}
