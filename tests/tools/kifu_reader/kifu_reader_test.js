// Game records copied out of conference messages by rkvtool kifu must load in
// a real shogi record reader (json-kifu-format) with every move and the final
// position. The games are played out move by move with shogi.js first, so each
// record is a legal game and its final position is known.
//
// usage: node kifu_reader_test.js RKVTOOL READER_DIR WORK_DIR
"use strict";
const fs = require("fs");
const path = require("path");
const { execFileSync } = require("child_process");

const [rkvtool, readerDir, workDir] = process.argv.slice(2);
const modules = path.join(readerDir, "node_modules");
const { JKFPlayer } = require(path.join(modules, "json-kifu-format"));
const { Shogi, Color } = require(path.join(modules, "shogi.js"));

const ZEN = "０１２３４５６７８９";
const KAN = "〇一二三四五六七八九";
const NAMES = { FU: "歩", KY: "香", KE: "桂", GI: "銀", KI: "金", KA: "角", HI: "飛", OU: "玉",
                TO: "と", NY: "成香", NK: "成桂", NG: "成銀", UM: "馬", RY: "龍" };
const DROPS = { P: "FU", L: "KY", N: "KE", S: "GI", G: "KI", B: "KA", R: "HI" };

// Plays the moves ("7776", "8822+", "B*45") and returns the KIF move lines,
// the number of moves and the final position.
function play(preset, moves) {
  const shogi = new Shogi({ preset });
  const lines = [];
  let last = null;
  moves.forEach((m, i) => {
    const mover = shogi.turn;
    const drop = m[1] === "*";
    const tx = +m[2], ty = +m[3];
    let text;
    if (drop) {
      const kind = DROPS[m[0]];
      shogi.drop(tx, ty, kind);
      text = `${ZEN[tx]}${KAN[ty]}${NAMES[kind]}打`;
    } else {
      const fx = +m[0], fy = +m[1], promote = m.endsWith("+");
      const kind = shogi.get(fx, fy).kind;
      shogi.move(fx, fy, tx, ty, promote);
      const square = last && last[0] === tx && last[1] === ty ? "同　" : `${ZEN[tx]}${KAN[ty]}`;
      text = `${square}${NAMES[kind]}${promote ? "成" : ""}(${fx}${fy})`;
    }
    if (shogi.isCheck(mover)) throw new Error(`move ${i + 1} ${m} leaves its own king in check`);
    last = [tx, ty];
    lines.push(`${String(i + 1).padStart(4)} ${text}   ( 0:01/00:00:0${(i % 9) + 1})`);
  });
  return { lines, count: moves.length, sfen: shogi.toSFENString() };
}

const games = [
  { name: "even game ending in resignation, chat after it", preset: "HIRATE",
    head: ["手合割：平手", "先手：山田", "後手：鈴木"],
    moves: ["7776", "3334", "2726", "8384", "2625", "8485", "6978", "4132", "2524", "2324", "2824", "8586",
            "8786", "8286", "2434", "8676+"],
    end: (n) => [`${String(n + 1).padStart(4)} 投了`],
    after: (n) => [`まで${n}手で後手の勝ち`, "", "対局ありがとうございました。", "次は負けませんよ。", "", "", ""] },
  { name: "lance handicap (香落ち) suspended", preset: "KY",
    head: ["手合割：香落ち", "下手：田中", "上手：佐藤"],
    moves: ["3334", "7776", "8384", "2726", "8485", "8877", "6152", "2625", "5142", "2524", "2324",
            "2824", "P*23", "2428"],
    end: (n) => [`${String(n + 1).padStart(4)} 中断`],
    after: (n) => [`まで${n}手で中断`, "続きはまた来週に。"] },
  { name: "even game with a comment naming a resignation, ending at the result line", preset: "HIRATE",
    head: ["先手：木村", "後手：高橋"],
    moves: ["7776", "3334", "8822+", "3122", "B*45", "4132", "4534", "B*33"],
    comments: { 2: "*ここで後手の投了もあり得た。先手の勝ちかと思った" },
    end: (n) => [`まで${n}手で後手の勝ち`],
    after: () => ["感想戦は明日。"] },
];

function cp932(text) { return execFileSync("iconv", ["-f", "UTF-8", "-t", "CP932"], { input: text }); }
function utf8(bytes) { return execFileSync("iconv", ["-f", "CP932", "-t", "UTF-8"], { input: bytes }).toString(); }

// Each record runs from its header to its end line, which is copied; what
// follows it in the message (the closing line, chat) must not be.
// The conference file: its prompt, then one message per game and one without a record.
const file = ["- SHOGI  MES( 7):将棋の部屋"];
const expected = [];
games.forEach((g, i) => {
  const result = play(g.preset, g.moves);
  const moveLines = [];
  result.lines.forEach((line, k) => {
    moveLines.push(line);
    if (g.comments && g.comments[k + 1]) moveLines.push(g.comments[k + 1]);
  });
  const record = [...g.head, "手数----指手---------消費時間--", ...moveLines, ...g.end(result.count)];
  const number = String(i + 1).padStart(3, "0");
  file.push(`${number}/004   ABC1234${i}  対局者            棋譜その${i + 1}`,
            `       97/05/1${i} 21:0${i}  00000  `,
            "昨夜の対局です。", "開始日時：1997/05/10", ...record, ...g.after(result.count));
  expected.push({ name: g.name, record, ...result });
});
file.push("004/004   XYZ00001  見学者            感想", "       97/05/14 22:00  00000  ",
          "先手：の読みが光りました", "良い将棋でした。");

fs.mkdirSync(workDir, { recursive: true });
const cnf = path.join(workDir, "SHOGI.CNF");
const ini = path.join(workDir, "rkv.ini");
fs.writeFileSync(cnf, cp932(file.join("\r\n") + "\r\n"));
fs.writeFileSync(ini, `[DIR]\r\nTtlDir=${workDir}\r\n`);

function kifu(index) {
  const out = execFileSync(rkvtool, ["--ini", ini, "kifu", cnf, String(index), "--kind", "conference"],
                           { timeout: 30000 }).toString();
  const get = (key) => (out.match(new RegExp(`^${key} (\\S+)$`, "m")) || [])[1];
  return { present: get("PRESENT"), clip: get("CLIP"), menu: get("MENU"), out };
}

let failures = 0;
function check(ok, what) {
  if (!ok) { failures++; console.log(`  FAIL: ${what}`); }
}

expected.forEach((g, i) => {
  const r = kifu(i);
  console.log(`game ${i + 1}: ${g.name}`);
  check(r.present === "yes" && r.menu === "yes", `PRESENT/MENU yes expected:\n${r.out}`);
  if (!r.clip || r.clip === "none") { check(false, "nothing was copied"); return; }
  const text = utf8(Buffer.from(r.clip, "hex"));
  check(text === g.record.join("\r\n") + "\r\n", `copied record differs:\n${text}`);
  const player = JKFPlayer.parseKIF(text);
  const moves = player.kifu.moves.filter((m) => m.move).length;
  player.goto(player.getMaxTesuu());
  const sfen = player.shogi.toSFENString();
  check(moves === g.count, `moves read ${moves}, played ${g.count}`);
  check(sfen === g.sfen, `final position ${sfen}, played ${g.sfen}`);
  const special = player.kifu.moves[player.kifu.moves.length - 1].special || "-";
  console.log(`  copied ${text.split("\r\n").length - 1} lines; reader: ${moves} moves (played ${g.count}), ` +
              `end ${special}, final ${sfen}`);
});

const none = kifu(expected.length);
console.log(`message ${expected.length + 1} (no record): PRESENT ${none.present} CLIP ${none.clip} MENU ${none.menu}`);
check(none.present === "no" && none.clip === "none" && none.menu === "no", "a message without a record");

console.log(failures ? `${failures} check(s) failed` : "all records read back");
process.exit(failures ? 1 : 0);
