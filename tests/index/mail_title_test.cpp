#include "index/mail_title.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace rkv {
namespace {

using test::Sj;

TEST(DateField, TwoAndOneDigitDays) {
  MailState mail;
  ParseDateField("Date: Mon, 12 May 1997 10:30:00 +0900\n", mail);
  EXPECT_EQ(mail.date, "97/05/12");
  EXPECT_EQ(mail.time, "10:30");
  ParseDateField("Date: Tue, 3 Feb 2001 09:05:00 +0900\n", mail);
  EXPECT_EQ(mail.date, "01/02/03");
  EXPECT_EQ(mail.time, "09:05");
  // An unknown month is 13; a two-digit year stays as it is, and the time is
  // still taken from its fixed column.
  ParseDateField("Date: Wed, 14 Xyz 98 23:59:59\n", mail);
  EXPECT_EQ(mail.date, "98/13/14");
  EXPECT_EQ(mail.time, ":59:5");
}

TEST(DateField, ShortOrGarbageLinesGiveNumbersNotOverruns) {
  MailState mail;
  ParseDateField("Date: \n", mail);
  EXPECT_EQ(mail.date, "00/13/00");
  EXPECT_EQ(mail.time, "");
  ParseDateField("Date: Mon, 99999999999 May 99999999999999 1", mail);
  EXPECT_EQ(mail.date, "7999/13/2147483647");  // numbers clamped, columns never overrun
  EXPECT_EQ(mail.time, "May 9");
}

TEST(FromField, NameBeforeQuoteAngleOrAt) {
  MailState mail;
  ParseFromField("From: \"Taro Yamada\" <taro@example.jp>\n", mail);
  EXPECT_EQ(mail.sender, "Taro Yamada");
  ParseFromField("From: taro@example.jp\n", mail);
  EXPECT_EQ(mail.sender, "taro");
  ParseFromField("From:    abcdefghijklmnopqrstuvwxyz\n", mail);
  EXPECT_EQ(mail.sender, "abcdefghijklmnop");
  // A character cut at the 16th byte is dropped.
  ParseFromField("From: " + std::string(15, 'a') + Sj("山田") + "\n", mail);
  EXPECT_EQ(mail.sender, std::string(15, 'a'));
  ParseFromField("From: \n", mail);
  EXPECT_EQ(mail.sender, "");
}

TEST(SubjectTitle, DateTimeSenderSubjectAndKeptState) {
  MailState mail;
  std::string title = SubjectTitle("Subject: hello   \n",
                                   {"From: \"Taro\" <t@x>\n", "Date: Mon, 12 May 1997 10:30:00\n", "\n"}, mail);
  EXPECT_EQ(title, "97/05/12 10:30 Taro              Subject: hello");
  // A mail without those lines shows the last values.
  EXPECT_EQ(SubjectTitle("Subject: again\n", {"\n", "body\n"}, mail),
            "97/05/12 10:30 Taro              Subject: again");
  // Lines after the dashes are not looked at.
  EXPECT_EQ(SubjectTitle("Subject: x\n", {"--------\n", "From: Other\n"}, mail),
            "97/05/12 10:30 Taro              Subject: x");
  // The subject is the line's first 45 bytes.
  MailState fresh;
  std::string longSubject = "Subject: " + std::string(50, 's') + "\n";
  EXPECT_EQ(SubjectTitle(longSubject, {}, fresh), "  " + std::string(17, ' ') + " Subject: " + std::string(36, 's'));
}

TEST(MailListTitle, FixedColumnsReordered) {
  std::string line = std::string(" 1 ") + "Subject of mail..." + " " + "ABC12345" + "    " + " " + "Name" + " " +
                     "97/05/12 12:34\n";
  std::string next = std::string(10, ' ') + "Yamada Taro" + std::string(30, ' ') + "\n";
  EXPECT_EQ(MailListTitle(line, next), "97/05/12 12:34 ubject of mail..ABC12345Yamada Taro");
  EXPECT_EQ(MailListTitle(line, ""), "97/05/12 12:34 ubject of mail..ABC12345");
}

TEST(ComposedTitle, AddresseeNameAndSubject) {
  EXPECT_EQ(test::Utf8(ComposedTitle("TO:ABC12345\n", {Sj("SUB:件名です\n"), Sj("山田さん、こんにちは\n")})),
            "ABC12345 山田 件名です");
  // The honorifics are tried in their order over the whole line.
  EXPECT_EQ(test::Utf8(ComposedTitle("TO:ABC12345\n", {Sj("SUB:x\n"), Sj("鈴木様と田中さん\n")})),
            "ABC12345 鈴木様と田中 x");
  // A "SUB:" line is not searched for a name; the search ends at the first name.
  EXPECT_EQ(test::Utf8(ComposedTitle("To: DEF\n", {Sj("SUB:佐藤さん宛\n"), Sj("body\n"), Sj("高橋殿\n"),
                                                  Sj("SUB:later\n")})),
            " DEF 高橋 佐藤さん宛");
  // The name is at most the line's first 24 bytes.
  std::string far = std::string(30, 'n') + Sj("さん") + "\n";
  EXPECT_EQ(ComposedTitle("TO:A\n", {"SUB:s\n", far}), "A " + std::string(24, 'n') + " s");
  // No name found.
  EXPECT_EQ(ComposedTitle("TO:A\n", {"SUB:s\n"}), "A  s");
}

}  // namespace
}  // namespace rkv
