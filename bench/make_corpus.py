#!/usr/bin/env python3
"""Writes the benchmark corpora of propdesk-native2ascii: realistic .properties resource files.

For each mix it writes the escaped form (input of -reverse) and the native code page 932 form
(input of encoding), each of the requested size:
  japanese.properties / japanese.native    comments, keys, mixed Japanese and ASCII values,
                                           continuation lines
  english.properties  / english.native     the same shapes in ASCII only
  dense.properties    / dense.native       values made almost only of Japanese text
With --file-set COUNT it writes instead COUNT native files of about 2 KB of the japanese mix, each
cut at a line end, as files/NNNN.properties: the input of converting a source tree in place.
The output is deterministic for a given size.
"""
import argparse
import os
import random

JAPANESE_WORDS = [
    "注文", "確認", "削除", "登録", "更新", "検索", "一覧", "詳細", "画面", "設定", "ユーザー", "パスワード",
    "ログイン", "ログアウト", "顧客", "商品", "在庫", "出荷", "請求書", "支払い", "合計金額", "数量", "単価",
    "発送済み", "キャンセル", "保存", "入力", "選択", "エラー", "警告", "処理", "完了", "失敗", "開始",
    "終了", "日付", "時刻", "住所", "電話番号", "メールアドレス", "会社名", "部署", "担当者", "備考",
    "ファイル", "アップロード", "ダウンロード", "印刷", "表示", "非表示", "必須", "任意", "文字", "以内",
    "半角英数字", "全角", "管理者", "権限", "システム", "接続", "サーバー", "データベース", "通信", "時間",
]
JAPANESE_PARTICLES = ["を", "が", "は", "の", "に", "で", "と", "から", "まで", "も"]
JAPANESE_ENDINGS = [
    "してください。", "しました。", "できません。", "しますか？", "がありません。", "に失敗しました。",
    "が完了しました。", "を入力してください。", "は必須です。", "が正しくありません。", "中です…",
    "してもよろしいですか？", "が見つかりません。", "の有効期限が切れました。",
]
HALF_WIDTH_KANA = ["ｱｲｳ", "ｶﾀｶﾅ", "ﾃｽﾄ", "ｺｰﾄﾞ"]
ENGLISH_WORDS = [
    "order", "customer", "invoice", "payment", "shipment", "stock", "item", "quantity", "price", "total",
    "user", "password", "login", "session", "server", "connection", "database", "file", "upload", "report",
    "date", "time", "address", "phone", "email", "company", "department", "manager", "required", "invalid",
    "please", "enter", "select", "confirm", "delete", "update", "search", "save", "cancel", "failed",
]
KEY_PARTS = [
    "app", "login", "order", "customer", "invoice", "payment", "shipment", "stock", "report", "admin",
    "title", "label", "message", "error", "warning", "confirm", "button", "tooltip", "column", "status",
]


def escape(text):
    return "".join(c if ord(c) < 0x80 else "\\u%04x" % ord(c) for c in text)


class Mix:
    def __init__(self, rng):
        self.rng = rng
        self.counter = 0

    def key(self):
        self.counter += 1
        parts = self.rng.sample(KEY_PARTS, self.rng.randint(2, 4))
        return ".".join(parts) + "." + str(self.counter)

    def placeholder(self):
        return self.rng.choice(["{0}", "{1}", "{0,number,#,##0}", "{0,date,yyyy/MM/dd}", "%s", "%d"])

    def english_sentence(self):
        words = [self.rng.choice(ENGLISH_WORDS) for _ in range(self.rng.randint(3, 12))]
        if self.rng.random() < 0.4:
            words.insert(self.rng.randrange(len(words)), self.placeholder())
        return " ".join(words).capitalize() + self.rng.choice([".", ".", "?", ":", "!"])

    def japanese_sentence(self):
        pieces = []
        for _ in range(self.rng.randint(1, 3)):
            pieces.append(self.rng.choice(JAPANESE_WORDS))
            pieces.append(self.rng.choice(JAPANESE_PARTICLES))
        pieces.append(self.rng.choice(JAPANESE_WORDS))
        pieces.append(self.rng.choice(JAPANESE_ENDINGS))
        roll = self.rng.random()
        if roll < 0.3:
            pieces.insert(self.rng.randrange(len(pieces)), self.placeholder())
        elif roll < 0.45:
            pieces.insert(self.rng.randrange(len(pieces)), " " + self.rng.choice(ENGLISH_WORDS).upper() + " ")
        elif roll < 0.5:
            pieces.insert(self.rng.randrange(len(pieces)), self.rng.choice(HALF_WIDTH_KANA))
        return "".join(pieces)

    def comment(self, sentence):
        return "# " + sentence()

    def entry(self, sentence, continuation_rate):
        value = sentence()
        if self.rng.random() < 0.15:
            value += "\\n" + sentence()
        if self.rng.random() < continuation_rate:
            value += "\\\n    " + sentence()
        return self.key() + "=" + value

    def lines(self, kind):
        """Yields native text lines forever."""
        sentence = self.english_sentence if kind == "english" else self.japanese_sentence
        if kind == "dense":
            while True:
                value = "".join(self.japanese_sentence().replace(" ", "") for _ in range(self.rng.randint(2, 5)))
                yield "m" + str(self.rng.randrange(100000)) + "=" + value
        while True:
            roll = self.rng.random()
            if roll < 0.08:
                yield ""
                yield self.comment(sentence if self.rng.random() < 0.7 else self.english_sentence)
            elif roll < 0.12:
                yield "! " + self.english_sentence()
            else:
                yield self.entry(sentence, 0.08)


def write_corpus(path, kind, form, size):
    rng = random.Random(kind)
    lines = Mix(rng).lines(kind)
    written = 0
    with open(path, "wb") as out:
        chunk = []
        while written < size:
            line = next(lines)
            data = (escape(line) if form == "escaped" else line).encode("cp932") + b"\n"
            chunk.append(data)
            written += len(data)
            if len(chunk) >= 4096:
                out.write(b"".join(chunk))
                chunk = []
        out.write(b"".join(chunk))
        out.truncate(size)


def write_file_set(folder, count, size=2048):
    os.makedirs(folder, exist_ok=True)
    lines = Mix(random.Random("files")).lines("japanese")
    for number in range(count):
        data = b""
        while True:
            line = next(lines).encode("cp932") + b"\n"
            if len(data) + len(line) > size:
                break
            data += line
        with open(os.path.join(folder, "%04d.properties" % number), "wb") as out:
            out.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "bench-data"))
    parser.add_argument("--megabytes", type=int, default=64, help="size of each file in MiB (default 64)")
    parser.add_argument("--file-set", type=int, metavar="COUNT", help="write COUNT files of 2 KB instead")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    if args.file_set:
        write_file_set(os.path.join(args.out, "files"), args.file_set)
        return
    size = args.megabytes * 1024 * 1024
    for kind in ("japanese", "english", "dense"):
        for form, suffix in (("escaped", ".properties"), ("native", ".native")):
            path = os.path.join(args.out, kind + suffix)
            if os.path.exists(path) and os.path.getsize(path) == size:
                continue
            write_corpus(path, kind, form, size)
            print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
