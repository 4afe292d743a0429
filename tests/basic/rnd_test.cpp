#include "basic/rnd.h"

#include <gtest/gtest.h>

namespace vx::basic {
namespace {

TEST(Rnd, ProducesTheClassicUnseededSequence)
{
    const float expected[] = {0.7055475f, 0.533424f, 0.5795186f, 0.2895625f,
                              0.301948f,  0.7747401f, 0.01401764f, 0.7607236f};
    Rnd rnd;
    for (const float e : expected)
        EXPECT_FLOAT_EQ(rnd.next(), e);
}

TEST(Rnd, EveryStartGivesTheSamePicks)
{
    Rnd a;
    Rnd b;
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(a.next(), b.next()) << "pick " << i;
    a.reset();
    EXPECT_EQ(a.next(), Rnd().next());
}

TEST(Rnd, StaysInsideTheUnitInterval)
{
    Rnd rnd;
    for (int i = 0; i < (1 << 24) / 64; ++i) {
        const float r = rnd.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

}  // namespace
}  // namespace vx::basic
