#!/usr/bin/env python3
"""Writes the end-to-end fixtures of rkvtool divide: for each case a settings
file, the folder tree before the run, the tree expected after it, and the
expected output. The expected files are put together here by hand from the
division rules, line by line, not by running the program."""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))


def sj(text):
    return text.encode("cp932")


def pad(text, width):
    """CP932 bytes of text, blank-padded to width bytes."""
    b = sj(text)
    assert len(b) <= width, text
    return b + b" " * (width - len(b))


def lines(*items):
    """CR LF lines; items are str (converted) or bytes (as they are)."""
    return b"".join((i if isinstance(i, bytes) else sj(i)) + b"\r\n" for i in items)


def header(number, total, member, handle, title, wide=False):
    if wide:
        return sj("%05d/%05d %s  " % (number, total, member)) + pad(handle, 16) + sj(title)
    return sj("%03d/%03d   %s  " % (number, total, member)) + pad(handle, 16) + sj(title)


def no_header(number, member, handle, title):
    return sj("No. %03d   %s " % (number, member)) + pad(handle, 16) + sj(title)


def date_line(when, comment_to=None):
    s = "       " + when
    if comment_to:
        s += "  %05d へのコメント" % comment_to
    return sj(s)


def mail_a(number, subject, member, name, when):
    line = sj("%2d " % number) + pad(subject, 18) + b" " + sj(member) + b"    " + b" " + pad(name, 4) + b" " + sj(when)
    assert line[40:42].isdigit() and line[51:52] == b":", line
    return line


def mail_b(number, subject, member, when):
    line = sj("%2d #" % number) + pad(subject, 16) + b"  " + sj(member) + b"  " + sj(when)
    assert line[22:30] == sj(member) and line[34:35] == b"/", line
    return line


def hp_line(number, when, member, title):
    line = sj("%03d  [%s]  %s      " % (number, when, member)) + sj(title)
    assert len(line) >= 41
    return line


def rec(name, head):
    entry = sj(name) + b":" + head
    entry = entry[:78] + b" " * (78 - len(entry))
    return entry + b"\r\n"


MAIL_END = "受信後 (1:削除  2:保存  3:返信  4:返信＋削除  5:転送  6:転送＋削除  E:終了)"

INI = """[DIR]
LogDir=@ROOT@/log
CnfDir=@ROOT@/cnf
MailDir=@ROOT@/mail
HpDir=@ROOT@/hp
PatioDir=@ROOT@/patio
BaseDir=@ROOT@/base
[ACTION]
NameRule=%(NameRule)d
Rename=%(Rename)d
MailName=%(MailName)d
HpNameRule=%(HpNameRule)d
"""


def write_case(name, settings, args, before, after, stdout):
    root = os.path.join(HERE, name)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    with open(os.path.join(root, "RKV.INI"), "wb") as f:
        f.write((INI % settings).replace("\n", "\r\n").encode("cp932"))
    with open(os.path.join(root, "args"), "w") as f:
        f.write(args + "\n")
    for tree, files in (("before", before), ("after", after)):
        for sub in ("log", "cnf", "mail", "hp", "patio", "base"):
            os.makedirs(os.path.join(root, tree, sub), exist_ok=True)
        for path, data in files.items():
            full = os.path.join(root, tree, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "wb") as f:
                f.write(data)
    with open(os.path.join(root, "stdout.txt"), "w", encoding="utf-8") as f:
        f.write(stdout)


# Case 1: one session with every kind of block, divided into empty folders.
FCOOK = "- FCOOK  MES( 5):料理の部屋"
FPC = "- FPCUPRO  MES(12):初心者の部屋"
FBOOK = "- FBOOK  MES( 3):本の部屋"
h1 = header(1, 3, "ABC12345", "けんじ", "今日の献立")
h2 = header(2, 3, "DEF67890", "はなこ", "Re:今日の献立")
h3 = sj("003/003   ********  ") + pad("（退会）", 16) + sj("削除されました")
w41 = header(41, 42, "GHI13579", "たろう", "質問です", wide=True)
w42 = header(42, 42, "ABC12345", "けんじ", "Re:質問です", wide=True)
n101 = no_header(101, "JKL24680", "じろう", "新刊情報")
ma = mail_a(1, "お元気ですか", "DEF67890", "はな", "26/05/09 19:00")
mb = mail_b(2, "資料送ります", "GHI13579", "05/08 18:30")
hp1 = hp_line(1, "26/05/01 10:00", "ABC12345", "けんじのページ")
hp2 = hp_line(2, "26/05/02 11:00", "DEF67890", "はなこのページ")
p1 = header(1, 2, "ABC12345", "けんじ", "こんにちは")
p2 = header(2, 2, "DEF67890", "はなこ", "Re:こんにちは")
listed = sj("  1   ABC12345   5/09      3  けんじ")

cook_block = [FCOOK, h1, date_line("26/05/09 20:10"), "カレーを作りました。", "＞おいしそう", h2,
              date_line("26/05/09 20:30", 1), "いいですね。", h3, date_line("26/05/09 20:40"),
              "（この発言は削除されました）"]
pc_block = [FPC, w41, date_line("26/05/09 20:50"), "パソコンが動きません。", w42,
            date_line("26/05/09 20:55", 41), "電源は入っていますか？"]
book_block = [FBOOK, n101, date_line("26/05/09 21:00"), "新刊が出ました。"]

session = lines(
    "ようこそ　オンラインサービスへ",
    "26/05/09 20:00 LOG IN  － ABC12345",
    "今週のお知らせ    NEW", "  5/09  メンテナンスのお知らせ", "CCS(01>FCOOK",
    *cook_block, *pc_block, "＞e", *book_block, "CCS(01>MAIL",
    "受信日  送信者ID  名前", "05/09  DEF67890  はなこ", "MAIL>READ",
    ma, "     お元気ですか", "こんにちは。", MAIL_END,
    mb, "本文です。", "MAIL>SEND",
    "TO:DEF67890", "SUB:Re:お元気ですか", " はなこ さん", "元気です。", "MAIL>",
    "Subject: Internet mail", "From: \"Friend\" <friend@example.com>", "本文", "X-Status: read",
    "MAIL>HP", hp1, hp2, "HP>2", hp2, "ようこそ、はなこのページへ。", "HP>",
    "CCS(01>PATIO", "- MES( 1):NAKANIWA", p1, date_line("26/05/09 21:10"), "パティオの発言です。", p2,
    date_line("26/05/09 21:15", 1), "こちらこそ。", "CCS(01>WHO", listed, "CCS(01>BILL",
    "利用料金情報    BILL", "  今月のご利用  1,234円", "CCS(01>OFF", "ご利用ありがとうございました")

REPORT1 = """REPORT: ログ 0509.LOG を分割します
REPORT:  ETC2605.090 を出力しました
REPORT:   FCOOK_05.CNF を出力しました
REPORT:   FPCUPO12.CNF を出力しました
REPORT:   FBOOK_03.CNF を出力しました
REPORT:  MLST2605 を出力しました
REPORT:   MAIL2605 を出力しました
REPORT:   MAIL2605 を出力しました
REPORT:  送信メール MSND2605 を出力しました
REPORT:   MAIL2605 を出力しました
REPORT:  HP HP260509 を出力しました
REPORT:  HP HP260509 を出力しました
REPORT:  パティオ NAKANIWA を出力しました
REPORT:  ETC2605.090 を出力しました
REPORT:  ETC2605.090 を出力しました
REPORT: 会議室ファイル 3 個、電子メール 3 通分を分割しました
RENAMED: @ROOT@/log/0509.LO0
"""

write_case(
    "session", dict(NameRule=0, Rename=1, MailName=0, HpNameRule=0), "",
    {"log/0509.LOG": session},
    {
        "log/0509.LO0": session,
        "log/ETC2605.090": lines("今週のお知らせ    NEW", "  5/09  メンテナンスのお知らせ", "",
                                 listed, "", "利用料金情報    BILL", "  今月のご利用  1,234円", ""),
        "cnf/FCOOK_05.CNF": lines(*cook_block),
        "cnf/FPCUPO12.CNF": lines(*pc_block),
        "cnf/FBOOK_03.CNF": lines(*book_block),
        "cnf/RKV.REC": rec("FCOOK_05.CNF", h3) + rec("FPCUPO12.CNF", w42) + rec("FBOOK_03.CNF", n101),
        "mail/MLST2605": lines("受信日  送信者ID  名前", "05/09  DEF67890  はなこ", ""),
        "mail/MAIL2605": lines(ma, "     お元気ですか", "こんにちは。", "", mb, "本文です。", "",
                               "Subject: Internet mail", "From: \"Friend\" <friend@example.com>", "本文", ""),
        "mail/MSND2605": lines("TO:DEF67890", "SUB:Re:お元気ですか", " はなこ さん", "元気です。", ""),
        "hp/HP260509": lines(hp2, "", hp2, "ようこそ、はなこのページへ。", ""),
        "patio/NAKANIWA": lines("- MES( 1):NAKANIWA", p1, date_line("26/05/09 21:10"), "パティオの発言です。", p2,
                                date_line("26/05/09 21:15", 1), "こちらこそ。", ""),
    },
    "BOX ログ・ファイル分割処理: ログ分割終了\n" + REPORT1)

# Case 2: the next session. FCOOK continues (message 4 after 3 of 3), FPCUPRO
# has a gap (message 45 after 42 of 42) and is skipped with Retry; its record
# entry stays, FCOOK's is rewritten in place.
h4 = header(4, 4, "GHI13579", "たろう", "明日の献立")
w45 = header(45, 45, "DEF67890", "はなこ", "解決しました", wide=True)
old_rec = rec("FCOOK_05.CNF", h3) + rec("FPCUPO12.CNF", w42) + rec("FBOOK_03.CNF", n101)
cook2 = [FCOOK, h4, date_line("26/05/10 20:00"), "シチューにします。"]
next_session = lines("CCS(01>FCOOK", *cook2, FPC, w45, date_line("26/05/10 20:10"), "TO:XYZ00000", "CCS(01>OFF")
recorded = rec("FPCUPO12.CNF", w42)[len("FPCUPO12.CNF:"):-2]
gap_text = ("      FPCUPO12.CNF を分割中\n\r\n\r今回先頭発言:\n\r　" + w45.decode("cp932") + "\n \n\r前回最終発言:\n\r　"
            + recorded.decode("cp932") + "\n \n\r\n\r　分割処理を続けますか？（再試行=次会議室, 無視=強制分割）")
gap_box = "BOX 発言番号が不連続性です！: " + gap_text.replace("\n", "\\n").replace("\r", "\\r") + "\n"
write_case(
    "continue", dict(NameRule=0, Rename=1, MailName=0, HpNameRule=0), "--on-gap retry",
    {"log/0510.LOG": next_session, "cnf/FCOOK_05.CNF": lines(*cook_block), "cnf/RKV.REC": old_rec},
    {
        "log/0510.LO0": next_session,
        "cnf/FCOOK_05.CNF": lines(*cook_block, *cook2),
        "cnf/RKV.REC": rec("FCOOK_05.CNF", h4) + rec("FPCUPO12.CNF", w42) + rec("FBOOK_03.CNF", n101),
        # The skipped room's lines are classified again: its TO: line is sent mail.
        "mail/MSND2605": lines("TO:XYZ00000", ""),
    },
    gap_box + "BOX ログ・ファイル分割処理: ログ分割終了\n"
    "REPORT: ログ 0510.LOG を分割します\n"
    "REPORT:   FCOOK_05.CNF を出力しました\n"
    "REPORT:  送信メール MSND2605 を出力しました\n"
    "REPORT: 会議室ファイル 1 個、電子メール 0 通分を分割しました\n"
    "RENAMED: @ROOT@/log/0510.LO0\n")

# Case 3: a folder per room, one file per mail, monthly HP files, no renaming.
rooms_log = lines(FCOOK, h1, "本文", FPC, w41, "本文", "CCS(01>", "Subject: one", "MAIL>", "Subject: two", "MAIL>",
                  hp1, "ページ", "HP>")
write_case(
    "rooms", dict(NameRule=1, Rename=0, MailName=1, HpNameRule=1), "",
    {"log/0511.LOG": rooms_log, "mail/MAIL2605.090": lines("an older mail")},
    {
        "log/0511.LOG": rooms_log,
        "base/FCOOK/FCOOK_5": lines(FCOOK, h1, "本文"),
        "base/FPCUPRO/FPCURO~2": lines(FPC, w41, "本文"),
        "base/RKV.REC": rec("FCOOK_5", h1) + rec("FPCURO~2", w41),
        "mail/MAIL2605.090": lines("an older mail"),
        "mail/MAIL2605.091": lines("Subject: one", ""),
        "mail/MAIL2605.092": lines("Subject: two", ""),
        "hp/HP2605": lines(hp1, "ページ", ""),
    },
    "BOX ログ・ファイル分割処理: ログ分割終了\n"
    "REPORT: ログ 0511.LOG を分割します\n"
    "REPORT:   FCOOK_5 を出力しました\n"
    "REPORT:   FPCURO~2 を出力しました\n"
    "REPORT:   MAIL2605.091 を出力しました\n"
    "REPORT:   MAIL2605.092 を出力しました\n"
    "REPORT:  HP HP2605 を出力しました\n"
    "REPORT: 会議室ファイル 2 個、電子メール 2 通分を分割しました\n")
