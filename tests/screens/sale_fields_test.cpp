#include <gtest/gtest.h>

#include "screens/sale_fields.h"

namespace {

TEST(SaleFieldsTest, SalePricePacksKindAboveThePrice)
{
    EXPECT_EQ(PackSalePrice("1", "100"), "16777316");
    EXPECT_EQ(PackSalePrice("0", "100"), "0");
    EXPECT_EQ(PackSalePrice("", "100"), "0");
    EXPECT_EQ(PackSalePrice("255", "1"), "-16777215") << "kind 255 fills the sign bit of the 32-bit word";
    EXPECT_EQ(PackSalePrice("1", "16777216"), "16777216") << "the price is not masked";
}

TEST(SaleFieldsTest, SalePriceUnpacksKindAndPrice)
{
    struct Case {
        const char* stored;
        std::uint32_t kind;
        std::uint32_t price;
    } cases[] = { { "16777316", 1, 100 }, { "0", 0, 0 }, { "-16777215", 255, 1 }, { "NULL", 0, 0 } };
    for (const Case& c : cases) {
        const SalePrice p = UnpackSalePrice(c.stored);
        EXPECT_EQ(p.kind, c.kind) << c.stored;
        EXPECT_EQ(p.price, c.price) << c.stored;
    }
}

TEST(SaleFieldsTest, SaleDayPacksPeriodKindOptionAndValue)
{
    EXPECT_EQ(PackSaleDay("1", "1", "42"), "12330");
    EXPECT_EQ(PackSaleDay("1", "0", "0"), "10240");
    EXPECT_EQ(PackSaleDay("2", "0", "5"), "16389");
    EXPECT_EQ(PackSaleDay("4", "1", "2047"), std::to_string((4 << 13) | 2047));
    EXPECT_EQ(PackSaleDay("", "1", "5"), "0");
    EXPECT_EQ(PackSaleDay("0", "1", "5"), "0");
    EXPECT_EQ(PackSaleDay("5", "1", "5"), "0");
}

TEST(SaleFieldsTest, SaleDayUnpacksLikeTheGridShowsIt)
{
    struct Case {
        const char* stored;
        std::uint32_t kind;
        int option;
        std::uint32_t value;
    } cases[] = { { "10240", 1, 0, 0 }, { "12330", 1, 1, 42 }, { "16389", 2, 0, 5 }, { "0", 0, 0, 0 } };
    for (const Case& c : cases) {
        const SaleDay d = UnpackSaleDay(c.stored);
        EXPECT_EQ(d.periodKind, c.kind) << c.stored;
        EXPECT_EQ(d.option1, c.option) << c.stored;
        EXPECT_EQ(d.periodValue, c.value) << c.stored;
    }
    for (const char* k : { "1", "2", "3", "4" }) {
        for (const char* o : { "0", "1" }) {
            const SaleDay d = UnpackSaleDay(PackSaleDay(k, o, "77"));
            EXPECT_EQ(std::to_string(d.periodKind), k);
            EXPECT_EQ(d.periodValue, 77u);
            EXPECT_EQ(d.option1, std::string(k) == "1" && std::string(o) == "1" ? 1 : 0);
        }
    }
}

} // namespace
