#include "app/open_dialogs.h"

#include <gtest/gtest.h>

#include "settings/settings.h"
#include "support/test_env.h"

namespace rkv {
namespace {

TEST(OpenDialogs, FiltersMasksAndFolders) {
  RKVcfg cfg;
  cfg.LogMask = "*.LOG";
  cfg.LogDir = "/logs;/old";
  cfg.CnfMask = "*.CNF";
  cfg.CnfDir = "/cnf";
  cfg.MailMask = "MAIL*";
  cfg.MailDir = "";
  OpenFileRequest log = OpenFileDialogRequest(cfg, 0);
  EXPECT_EQ(log.title, test::Sj("ログファイル・オープン"));
  ASSERT_EQ(log.filters.size(), 2u);
  EXPECT_EQ(log.filters[0].first, test::Sj("LOGﾌｧｲﾙ(*.LOG)"));
  EXPECT_EQ(log.filters[0].second, "*.LOG");
  EXPECT_EQ(log.filters[1].first, test::Sj("すべてのﾌｧｲﾙ (*.*)"));
  EXPECT_EQ(log.initialDirectory, "/logs");
  EXPECT_TRUE(log.mustExist);
  OpenFileRequest cnf = OpenFileDialogRequest(cfg, 1);
  EXPECT_EQ(cnf.title, test::Sj("会議室ファイル・オープン"));
  EXPECT_EQ(cnf.filters[0].first, test::Sj("CNFﾌｧｲﾙ(*.CNF)"));
  OpenFileRequest mail = OpenFileDialogRequest(cfg, 2);
  EXPECT_EQ(mail.filters[0].first, test::Sj("MAILﾌｧｲﾙ(MAIL*)"));
  EXPECT_EQ(mail.initialDirectory, "");
}

}  // namespace
}  // namespace rkv
