#include "platform/brovik/application/CommandLineArgsParser.h"

#include <gtest/gtest.h>

using KX::Brovik::CommandLineArgsParser;

namespace {

TEST(BrovikCommandLine, OptionsAndPaths) {
    CommandLineArgsParser parser;
    parser.process({"slidewell", "--open-in-background", "a.pptx", "-uninstall", "b c.odp"});
    EXPECT_TRUE(parser.isSet(CommandLineArgsParser::OpenInBackground));
    EXPECT_TRUE(parser.isSet(CommandLineArgsParser::Uninstall)); // single dash works like two
    EXPECT_FALSE(parser.isSet(CommandLineArgsParser::RemoveDefaultTemplateFolder));
    EXPECT_EQ(parser.positionalArguments(), (QStringList{"a.pptx", "b c.odp"}));
}

TEST(BrovikCommandLine, UnknownOptionsDoNotStopTheStart) {
    CommandLineArgsParser parser;
    parser.process({"slidewell", "--psn_0_1234", "deck.pptx"});
    EXPECT_EQ(parser.positionalArguments(), QStringList{"deck.pptx"});
    EXPECT_FALSE(parser.isSet(CommandLineArgsParser::Uninstall));
}

} // namespace
