#include "menufile/menu_writer.h"

#include <gtest/gtest.h>

#include "menufile/menu_reader.h"
#include "tests/menufile/example_file.h"

namespace quintrel {
namespace {

using testing::exampleItems;
using testing::kExampleFile;

TEST(MenuWriter, WritesTheExampleFileByteForByte) {
    MenuItems items = exampleItems();
    items.FrequencyStep = 1.0 / (1e-9 * 8.0);  // 124999999.99999999 as the transfer computes it
    EXPECT_EQ(writeMenuItems(items), kExampleFile);
}

TEST(MenuWriter, ItemForms) {
    MenuItems items;
    items.Text1 = "";
    items.Text2 = "0,125";
    items.Text3 = "1 000 \xC3\xA9";
    items.TimeStep = -2.5e-15;
    items.PointCount = 0.0;
    items.FrequencyStep = 1e9 / 3.0;
    items.TimeUnit = -1;
    items.FrequencyUnit = 4;
    items.SinglePulse = true;
    items.Check1 = 2;
    items.Check2 = 0;
    items.GridValid = false;
    EXPECT_EQ(writeMenuItems(items),
              "\"\"\r\n\"0,125\"\r\n\"1 000 "
              "\xC3\xA9\"\r\n-2.5E-15\r\n0\r\n333333333.333333\r\n-1\r\n4\r\n"
              "\"Y\"\r\n2\r\n0\r\n\"N\"\r\n");
}

TEST(MenuWriter, WhatIsWrittenReadsBack) {
    MenuItems items = exampleItems();
    items.Text1 = "";
    items.Text2 = "0,125";
    items.Text3 = "  \xE2\x82\xAC 5";
    items.TimeStep = 1e-300;
    items.PointCount = 32767;
    items.FrequencyStep = 1e9 / 3.0;
    items.TimeUnit = -1;
    items.SinglePulse = true;
    items.Check1 = 2;
    items.GridValid = false;
    const auto read = readMenuItems(writeMenuItems(items));
    ASSERT_TRUE(read.ok());
    MenuItems expected = items;
    expected.FrequencyStep = 333333333.333333;  // 15 significant digits, not the value written
    EXPECT_EQ(read.value(), expected);
    EXPECT_NE(read.value().FrequencyStep, items.FrequencyStep);
}

}  // namespace
}  // namespace quintrel
