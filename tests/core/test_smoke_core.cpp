#include "framework/core/Streams.h"
#include <gtest/gtest.h>
TEST(Smoke, MemoryStream) { folio::TMemoryStream S; int V = 5; S.WriteBuffer(&V, 4); EXPECT_EQ(S.GetSize(), 4); }
