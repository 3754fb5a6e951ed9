// What the common dialogs are given: the filter list and the default extension.
#include <gtest/gtest.h>

#include "toolkit/common_dialogs.h"

namespace kembo {
namespace {

using namespace std::string_literals;

TEST(CommonDialogs, FilterPairsBecomeTheSystemsList) {
    EXPECT_EQ(FilterList("すべて (*.*)|*.*|Jpeg(*.jpg;*jpeg)|*.jpg;*jpeg"),
              u"すべて (*.*)\0*.*\0Jpeg(*.jpg;*jpeg)\0*.jpg;*jpeg\0\0"s);
    // A description without its pattern is left out; nothing at all is an empty list.
    EXPECT_EQ(FilterList("a|*.a|b"), u"a\0*.a\0\0"s);
    EXPECT_EQ(FilterList(""), u"\0"s);
}

TEST(CommonDialogs, DefaultExtensionWithoutPatternOrDot) {
    EXPECT_EQ(DefaultExtension("*.bmp"), "bmp");
    EXPECT_EQ(DefaultExtension(".bmp"), "bmp");
    EXPECT_EQ(DefaultExtension("bmp"), "bmp");
    EXPECT_EQ(DefaultExtension("*.*"), "");
    EXPECT_EQ(DefaultExtension(""), "");
}

}  // namespace
}  // namespace kembo
