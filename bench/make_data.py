#!/usr/bin/env python3
"""Writes the benchmark's data: stores of 0 to 1,000,000 entries as code page
932 files, and a script of 1,000 inputs that reaches every branch of a turn.

Everything comes from one seeded generator, so every run writes the same bytes.

usage: make_data.py OUT_DIR [SIZE ...]
"""

import os
import random
import sys

SIZES = [0, 1000, 10000, 100000, 1000000]

HIRAGANA = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも" \
           "やゆよらりるれろわをんがぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽゃゅょっ"
KATAKANA = "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ" \
           "ヤユヨラリルレロワンガギグゲゴザジズゼゾダデドバビブベボパピプペポャュョッー"
KANJI = ("日一国人年大十二本中長出三時行見月分後前生五間上東四今金九入学高円子外八"
         "六下来気小七山話女北午百書先名川千水半男西電校語土木聞食車何南万毎白天母火"
         "右読友左休父雨会同事自社発者地業方新場員立開手力問代明動京目通言理体田主題"
         "意不作用度強公持野以思家世多正安院心界教文元重近考画海売知道集別物使品計死"
         "特私始朝運終台広住無真有口少町料工建空急止送切転研足究楽起着店病質待試族銀"
         "早映親験英医仕去味写字答夜音注帰古歌買悪図週室歩風紙黒花春赤青館屋色走秋夏"
         "習駅洋旅服夕借曜飲肉貸堂鳥飯勉冬昼茶弟牛魚兄犬妹姉漢森林草竹石岩星雪雲池港"
         "橋島鉄線米麦豆塩油菓湯氷熱温冷暑寒晴曇波砂畑庭園門窓机椅箱本棚皿鍋")
PARTICLES = ["は", "が", "を", "に", "で", "も", "と", "の", "へ"]
ENDINGS = ["です", "だよ", "ね", "よ", "かな", "でした", "ます", "たい", "らしい", ""]


def word(rng, length):
    """A word-like run of length characters: kanji, katakana, kana or mixed."""
    style = rng.random()
    if style < 0.55:
        pool = KANJI
    elif style < 0.8:
        pool = KATAKANA
    elif style < 0.9:
        pool = HIRAGANA
    else:
        pool = KANJI + HIRAGANA
    return "".join(rng.choice(pool) for _ in range(length))


KEY_LENGTHS = [1, 2, 3, 4, 5, 6, 7, 8]
KEY_WEIGHTS = [2, 25, 25, 20, 10, 8, 6, 4]


def key(rng):
    return word(rng, rng.choices(KEY_LENGTHS, KEY_WEIGHTS)[0])


def definition(rng):
    text = word(rng, rng.randint(1, 4))
    if rng.random() < 0.6:
        text += rng.choice(["の", "な", "を走る", "で使う", "に似た"]) + word(rng, rng.randint(1, 4))
    return text


def value(rng, joiner):
    return joiner.join(definition(rng) for _ in range(rng.randint(1, 3)))


def phrase(rng):
    parts = [word(rng, rng.randint(1, 4)) + rng.choice(PARTICLES)
             for _ in range(rng.randint(1, 3))]
    return "".join(parts) + word(rng, rng.randint(1, 3)) + rng.choice(ENDINGS)


def unique(rng, count, make, taken):
    out = []
    while len(out) < count:
        text = make(rng)
        if text not in taken:
            taken.add(text)
            out.append(text)
    return out


# Entries that the script talks about, at the front of every non-empty store.
FIXED_BRAIN = [
    ("【ほめ言葉】", "ありがとう すごい 好き 賢い 優しいね 最高"),
    ("【悪口】", "ばか 嫌い うるさい 最低 邪魔"),
    ("電車", "線路を走る乗り物＊通勤の足＊遅れると困るもの"),
    ("自転車", "二つの車輪の乗り物＊健康にいい移動手段"),
    ("珈琲", "苦い飲み物＊朝の習慣＊眠気覚まし"),
    ("図書館", "本を借りる場所＊静かな建物"),
    ("音楽", "耳で楽しむもの"),
]
FIXED_DICTIONARY = [
    ("東京", "日本の首都"), ("富士山", "日本一高い山"), ("琵琶湖", "日本一大きい湖"),
    ("太陽", "地球に一番近い恒星"), ("月", "地球の衛星"), ("水", "生き物に欠かせない液体"),
    ("猫", "よく眠る動物"), ("犬", "人に忠実な動物"), ("札幌", "北海道の中心の街"),
    ("将棋", "盤と駒で遊ぶ遊戯"),
]


def write_lines(path, lines):
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def write_store(out_dir, size):
    rng = random.Random(size * 7919 + 17)
    folder = os.path.join(out_dir, f"size-{size}")
    os.makedirs(folder, exist_ok=True)
    brain = dictionary = phrases = []
    if size > 0:
        taken = {k for k, _ in FIXED_BRAIN}
        keys = unique(rng, size - len(FIXED_BRAIN), key, taken)
        brain = [f"{k}＝{v}" for k, v in FIXED_BRAIN] + \
                [f"{k}＝{value(rng, '＊')}" for k in keys]
        taken = {k for k, _ in FIXED_DICTIONARY}
        keys = unique(rng, size - len(FIXED_DICTIONARY), key, taken)
        dictionary = [f"{k}*{v}" for k, v in FIXED_DICTIONARY] + \
                     [f"{k}*{value(rng, '、')}" for k in keys]
        phrases = unique(rng, size, phrase, set())
    write_lines(os.path.join(folder, "brain.dat"), brain)
    write_lines(os.path.join(folder, "dic.dat"), dictionary)
    write_lines(os.path.join(folder, "res.dat"), phrases)
    write_lines(os.path.join(folder, "holv.dat"),
                ["ユーザー", "10", "3", "0", "0", "0", "0"])


# Pieces of conversation, each a few inputs, drawn to fill the script.
def script_pieces(rng, n):
    new_topic = "新語" + str(n)
    learned = word(rng, 3) + str(n)
    return [
        # Questions: about the program, a topic found, none, a lesson.
        ["元気？"], ["名前は？"], ["性別は？", "女です"], ["性別は？", "一応男"],
        [rng.choice(FIXED_DICTIONARY)[0] + "は？"],
        [rng.choice(FIXED_DICTIONARY)[0] + "って何？"],
        ["なんで？"], ["どうして？"],
        [new_topic + "は？", "新しい言葉", "いいよ", new_topic + "は？"],
        [word(rng, 3) + "は？", "知らない", "だめ"],
        [word(rng, 2) + "って何？", "さあ", "たぶん"],
        # Menus.
        ["命令", "１"], ["命令", "４", "calc"], ["質問", "１"], ["command", "9"],
        # Reactions.
        ["こんにちは"], ["おはよう"], ["こんばんは"], ["おみくじ"],
        ["今日は晴れ"], ["今日は雨"], ["ふふふ"], ["助けて"],
        ["ばか", "ごめん"], ["独り言禁止", "/tick", "独り言許可"],
        ["日記", "今日は楽しかった", "止める"],
        # Statements: learning new and known topics.
        [learned + "とは" + definition(rng) + "だ"],
        [learned + "とは" + definition(rng) + "だ"],
        [rng.choice(FIXED_BRAIN[2:])[0] + "とは" + definition(rng) + "だ"],
        [word(rng, 2) + "というのは" + definition(rng) + "だ"],
        [word(rng, 3) + "とは" + definition(rng) + "のことだよ"],
        [word(rng, 2) + "とは" + definition(rng) + "のこと"],
        # Association remarks, denied and agreed.
        [rng.choice(FIXED_BRAIN[2:])[0] + "が好きです", "ちがうよ"],
        [rng.choice(FIXED_BRAIN[2:])[0] + "が好きです", "そうそう"],
        [rng.choice(FIXED_BRAIN[2:])[0] + "の話", "違う"],
        # Fallbacks, repeated and new phrases.
        [phrase(rng)], [phrase(rng)], ["今日は疲れたな"], ["ありがとう すごい"],
        ["/tick"], ["/tick"], ["/tick"],
    ]


def write_script(out_dir):
    rng = random.Random(1000)
    lines = []
    n = 0
    while len(lines) < 1000:
        pieces = script_pieces(rng, n)
        for piece in rng.sample(pieces, len(pieces)):
            lines.extend(piece)
        n += 1
    with open(os.path.join(out_dir, "script.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines[:1000]) + "\n")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out_dir = sys.argv[1]
    sizes = [int(s) for s in sys.argv[2:]] or SIZES
    os.makedirs(out_dir, exist_ok=True)
    write_script(out_dir)
    for size in sizes:
        write_store(out_dir, size)


if __name__ == "__main__":
    main()
