#include "filer/mask_match.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

TEST(MaskMatches, StarAndQuestionMarkWithoutCase) {
  EXPECT_TRUE(MaskMatches("*.LOG", "a0501.log"));
  EXPECT_TRUE(MaskMatches("*.log", "A0501.LOG"));
  EXPECT_FALSE(MaskMatches("*.LOG", "A0501.LOG.BAK"));
  EXPECT_FALSE(MaskMatches("*.LOG", "A0501.LO"));
  EXPECT_TRUE(MaskMatches("MAIL????.*", "mail9705.120"));
  EXPECT_FALSE(MaskMatches("MAIL????.*", "mail970.120"));
  EXPECT_TRUE(MaskMatches("*A*B*", "xxAyyAzzB"));  // backtracking past a first partial match
  EXPECT_FALSE(MaskMatches("*A*B", "xxAyyBz"));
}

TEST(MaskMatches, DotStarAlsoTakesNamesWithoutExtension) {
  EXPECT_TRUE(MaskMatches("*.*", "README"));
  EXPECT_TRUE(MaskMatches("*.*", "a.b.c"));
  EXPECT_TRUE(MaskMatches("READ*.*", "readme"));
  EXPECT_FALSE(MaskMatches("*.TXT", "TXT"));
}

TEST(MaskMatches, TwoByteCharactersAreOneCharacterAndKeepTheirCase) {
  // 表 ends in the byte of "\", ヂ in the byte of "a": neither may be read as ASCII.
  EXPECT_TRUE(MaskMatches("?.TXT", Sj("表.txt")));
  EXPECT_FALSE(MaskMatches("??.TXT", Sj("表.txt")));
  EXPECT_TRUE(MaskMatches(Sj("ヂ*"), Sj("ヂ会議.CNF")));
  EXPECT_FALSE(MaskMatches(Sj("ヂ*"), Sj("ア会議.CNF")));
  EXPECT_FALSE(MaskMatches(Sj("ア*"), Sj("ヂ会議.CNF")));
}

}  // namespace
}  // namespace rkv
