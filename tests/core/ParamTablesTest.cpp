#include "model/ParamTables.h"

#include <gtest/gtest.h>

using zarnel::ParamTables;

TEST(ParamTables, IncomingNrpnMapsToIndex)
{
    const auto& t = ParamTables::get();
    // Renumbered parameters, the two shared numbers (the later index wins) and the 200+ rule.
    const std::pair<int, int> cases[] = {
        {0, 0},     {5, 6},     {14, 17},   {93, 15},   {94, 105},  {101, 106}, {110, 19},
        {114, 5},   {115, 11},  {116, 18},  {91, 101},  {77, 107},  {80, 110},  {102, 102},
        {109, 109}, {117, 117}, {120, 120}, {199, 199}, {200, 200}, {214, 217}, {255, 260}};
    for (const auto& [nrpn, index] : cases)
        EXPECT_EQ(t.indexForNrpn(nrpn), index) << "NRPN " << nrpn;

    EXPECT_EQ(t.indexForNrpn(-1), -1);
    EXPECT_EQ(t.indexForNrpn(456), -1);
}

TEST(ParamTables, EverySentNrpnComesBackToAnIndexWithThatNrpn)
{
    const auto& t = ParamTables::get();
    for (int i = 0; i < ParamTables::numEntries; ++i)
    {
        const int back = t.indexForNrpn(t.nrpn(i));
        ASSERT_TRUE(ParamTables::isValidIndex(back)) << i;
        EXPECT_EQ(t.nrpn(back), t.nrpn(i)) << "index " << i;
    }
}

TEST(ParamTables, RangesAndKinds)
{
    const auto& t = ParamTables::get();
    struct Case
    {
        int index, min, max, kind, nrpn;
    };
    const Case cases[] = {
        {0, 0, 120, 778, 0},    {20, 0, 164, 222, 15},  {25, 0, 254, 555, 20}, {42, 0, 166, 37, 37},
        {99, 0, 127, 0, 94},    {101, 30, 250, 444, 91}, {105, 0, 5, 94, 94},  {108, 0, 48, 4008, 78},
        {111, 0, 127, 0, 111},  {117, 0, 127, 0, 117},  {120, 0, 127, 567, 120}, {135, 0, 127, 567, 135},
        {136, 0, 126, 567, 136}, {183, 0, 126, 567, 183}, {184, 0, 126, 567, 184}, {185, 0, 127, 0, 185},
        {199, 0, 127, 0, 199}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(t.minimum(c.index), c.min) << c.index;
        EXPECT_EQ(t.maximum(c.index), c.max) << c.index;
        EXPECT_EQ(t.kind(c.index), c.kind) << c.index;
        EXPECT_EQ(t.nrpn(c.index), c.nrpn) << c.index;
    }
    EXPECT_EQ(t.clamp(101, 0), 30);
    EXPECT_EQ(t.clamp(13, 9), 3);
}
