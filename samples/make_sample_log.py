#!/usr/bin/env python3
"""Writes SAMPLE.LOG: one evening's session with the online service as a
terminal program captured it (CP932, CR LF). It visits conference rooms of
every header shape, reads and writes mail, lists mail, libraries and home
pages, reads a patio room and the usage notice, so that a division of it
touches every kind of split file."""
import os
import random

rnd = random.Random(1997)
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "SAMPLE.LOG")
log = []


def sj(text):
    return text.encode("cp932")


def pad(text, width):
    b = sj(text)
    return b + b" " * (width - len(b))


def put(*items):
    for i in items:
        log.append(i if isinstance(i, bytes) else sj(i))


MEMBERS = [("ABC12345", "けんじ"), ("DEF67890", "はなこ"), ("GHI13579", "たろう"), ("JKL24680", "じろう"),
           ("MNO11223", "さくら"), ("PQR44556", "ゆうき"), ("STU77889", "みどり"), ("VWX99001", "こうへい")]
SENTENCES = ["こんばんは。", "いつも楽しく読ませていただいています。", "昨日は久しぶりに早く帰れました。",
             "週末は雨の予報ですね。", "私も同じことで悩んでいました。", "詳しい方がいらっしゃったら教えてください。",
             "ありがとうございました、助かりました。", "また報告します。", "では、また。",
             "写真をライブラリに登録しておきました。", "次のオフ会が楽しみです。", "それはいい考えですね。",
             "手順を書いておきます。", "ちょっと試してみます。", "ＲＥＡＤＭＥもよく読んでください。"]


def body(lines):
    return [rnd.choice(SENTENCES) for _ in range(lines)]


def conference(prompt, first, count, topics, shape, when):
    """A room's new messages; every third one comments on the one before."""
    put(prompt)
    room = int(prompt[prompt.index("MES(") + 4:prompt.index(")")])
    total = first + count - 1
    for n in range(first, total + 1):
        member, handle = rnd.choice(MEMBERS)
        title = topics[(n - first) % len(topics)]
        comment = n - 1 if (n - first) % 3 == 2 else 0
        if comment:
            title = "Re:" + topics[(n - first - 1) % len(topics)]
        if n == first + 4 and shape != "no":
            member, handle = "********", "（退会済み）"
        # The handle takes 16 columns; the subject starts at column 38 (39 in
        # the 5-digit form), as the service laid its headers out.
        if shape == "short":
            head, gap = sj("%03d/%03d   %s  " % (n, total, member)), b"  "
        elif shape == "wide":
            head, gap = sj("%05d/%05d %s  " % (n, total, member)), b" "
        else:
            head, gap = sj("No. %03d   %s  " % (n, member)), b"  "
        put(head + pad(handle, 16) + gap + sj(title))
        # The line after the header: the room number in parentheses, then the
        # date and time, then the number of the message it comments on.
        stamp = "(%03d)  %s %02d:%02d" % (room, when, 20 + (n - first) // 6, (n * 7) % 60)
        put(stamp + ("  %05d へのコメント" % comment if comment else ""))
        for line in body(rnd.randint(2, 5)):
            put(line)
        if n == first + 5:
            put("続き (改行で表示　E:終了)")
        put("")


def mail_a(number, subject, member, name, when):
    # The service's list columns: subject from column 4 (16 bytes), ID from 22,
    # date from 40; the line after it carries the sender from column 10.
    return sj("%2d  " % number) + pad(subject, 16) + b"  " + sj(member) + b"     " + pad(name, 4) + b" " + sj(when)


def mail_b(number, subject, member, when):
    return sj("%2d #" % number) + pad(subject, 16) + b"  " + sj(member) + b"  " + sj(when)


def hp_line(number, when, member, title):
    return sj("%03d  [%s]  %s      %s" % (number, when, member, title))


MAIL_END = "受信後 (1:削除  2:保存  3:返信  4:返信＋削除  5:転送  6:転送＋削除  E:終了)"

put("ATZ", "OK", "ATDT0312345678", "CONNECT 9600", "",
    "ようこそ　オンラインサービスへ", "ＩＤ：ABC12345", "パスワード：", "",
    "26/05/09 20:00 LOG IN  － ABC12345 けんじ さん", "前回のログイン 26/05/02 21:14", "",
    "今週のお知らせ    NEW",
    "  5/09  メンテナンスのお知らせ（５月１６日　２：００～６：００）",
    "  5/08  新しいフォーラムが開設されました",
    "  5/07  料金体系の変更について", "", "CCS(01>FCOOK", "",
    "＜料理フォーラム＞ FCOOK へようこそ", "シスオペ：DEF67890", "")

conference("- FCOOK  MES( 5):料理全般", 121, 12,
           ["今日の献立", "圧力鍋の使い方", "おすすめの包丁", "だしの取り方", "春野菜のレシピ", "保存食について"],
           "short", "26/05/08")
put("- FCOOK  MES(12):お菓子作り")
conference("- FCOOK  MES(12):お菓子作り", 45, 6, ["シフォンケーキ", "オーブンの温度", "チーズケーキ"], "short", "26/05/09")
put("＞E", "CCS(01>FPCUPRO", "", "＜パソコン初心者フォーラム＞ FPCUPRO", "")
conference("- FPCUPRO  MES( 2):初心者質問室", 10231, 10,
           ["モデムがつながりません", "ＣＯＮＦＩＧ．ＳＹＳの書き方", "通信ソフトの設定", "メモリ不足と出ます"],
           "wide", "26/05/09")
put("- FPCUPRO  MES( 8):雑談", "新しい発言はありません", "CCS(01>FBOOK", "")
conference("- FBOOK  MES( 7):新刊情報", 301, 5, ["今月の新刊", "文庫化情報", "書評を書きました"], "no", "26/05/09")
put("CCS(01>MAIL", "",
    "受信日  送信者ID  名前",
    "05/09  DEF67890  はなこ", "05/09  GHI13579  たろう", "05/08  JKL24680  じろう", "",
    "MAIL>READ 1")
put(mail_a(1, "オフ会のご案内", "DEF67890", "はな", "26/05/09 19:02"),
    "差出人：   はなこ",
    "     件名：オフ会のご案内",
    "けんじさん、こんばんは。", "来月のオフ会の日程が決まりました。", "６月１４日（土）の午後です。",
    "お返事お待ちしています。", "", MAIL_END, "E")
put(mail_b(2, "資料を送ります", "GHI13579", "05/09 18:40"),
    "先日お話しした資料です。", "ライブラリに置いたものと同じです。", "", "MAIL>READ 3")
put("Subject: Re: 来週の打ち合わせ", "Date: Fri, 8 May 2026 22:15:03 +0900",
    "From: \"Jiro Yamada\" <jiro@example.ne.jp>", "--------",
    "けんじ様", "", "来週の打ち合わせは火曜日でお願いします。", "", "じろう", "X-Status: read",
    "MAIL>SEND")
put("TO:DEF67890", "SUB:Re:オフ会のご案内", "", " はなこ さん", "", "ご案内ありがとうございます。",
    "もちろん参加します。", "", "けんじ", "/POST", "送信しました", "MAIL>LIST SENT")
put("送信日  受信日時      宛先ID",
    "05/09  05/09 21:03  DEF67890", "05/02  05/03 08:12  JKL24680", "", "MAIL>")
put("CCS(01>LIB FCOOK", "", "番号  ID       登録日   サイズ 種別  タイトル",
    "   12  DEF67890 26/05/01   4321 B    レシピ集（テキスト）",
    "   13  ABC12345 26/05/08  12034 T    圧力鍋メモ", "", "LIB>", "CCS(01>HP")
put(hp_line(1, "26/05/01 10:00", "DEF67890", "はなこの台所"),
    hp_line(2, "26/05/03 22:30", "GHI13579", "たろうの鉄道写真館"),
    hp_line(3, "26/05/07 07:45", "MNO11223", "さくらの庭"),
    "HP>3",
    hp_line(3, "26/05/07 07:45", "MNO11223", "さくらの庭"),
    "", "　　＊＊＊　さくらの庭へようこそ　＊＊＊", "",
    "今年もバラが咲きはじめました。", "写真は順番に載せていきます。", "", "HP>", "CCS(01>PATIO YAMANOHA")
put("- MES( 3):YAMANOHA")
for n in range(1, 6):
    member, handle = MEMBERS[n % len(MEMBERS)]
    put(sj("%03d/%03d   %s  " % (n, 5, member)) + pad(handle, 16) + b"  " + sj("山の会の相談 %d" % n),
        "(003)  26/05/09 21:%02d" % (10 + n) + ("  %05d へのコメント" % (n - 1) if n > 1 else ""))
    for line in body(2):
        put(line)
    put("")
put("CCS(01>WHO", "",
    "  1   ABC12345   5/09      3  けんじ",
    "  2   DEF67890   5/09      1  はなこ",
    "  3   MNO11223   5/08      2  さくら", "", "CCS(01>BILL",
    "利用料金情報    BILL",
    "あなたのご利用状況は次のとおりです",
    "  ５月分　接続時間　　　３時間２５分",
    "  ５月分　ご利用料金　　　１，９８０円", "", "CCS(01>OFF", "",
    "ご利用ありがとうございました", "26/05/09 21:40 LOG OUT", "NO CARRIER")

with open(OUT, "wb") as f:
    f.write(b"".join(line + b"\r\n" for line in log))
print("%s: %d lines" % (OUT, len(log)))
