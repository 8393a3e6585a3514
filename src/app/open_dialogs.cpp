#include "app/open_dialogs.h"

#include "core/cp932.h"
#include "core/sjis.h"
#include "settings/settings.h"

namespace rkv {

OpenFileRequest OpenFileDialogRequest(const RKVcfg& cfg, int index) {
  struct Kind {
    const char* label;
    const std::string* mask;
    const std::string* dirs;
    const char* title;
  };
  const Kind kinds[] = {{"LOGﾌｧｲﾙ(", &cfg.LogMask, &cfg.LogDir, "ログファイル・オープン"},
                        {"CNFﾌｧｲﾙ(", &cfg.CnfMask, &cfg.CnfDir, "会議室ファイル・オープン"},
                        {"MAILﾌｧｲﾙ(", &cfg.MailMask, &cfg.MailDir, "メールファイル・オープン"}};
  const Kind& k = kinds[index < 0 || index > 2 ? 0 : index];
  OpenFileRequest r;
  r.title = cp932::FromUtf8(k.title);
  r.filters = {{cp932::FromUtf8(k.label) + *k.mask + ")", *k.mask}, {SJ("すべてのﾌｧｲﾙ (*.*)"), "*.*"}};
  r.initialDirectory = ListEntry(*k.dirs, 0).value_or("");
  r.mustExist = true;
  return r;
}

}  // namespace rkv
