<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Bas_Comm</name>
    <message>
        <source>文字列の表示に失敗しました</source>
        <translation>The message could not be displayed.</translation>
    </message>
    <message>
        <source>エラーメッセージ</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>Bas_Comm::SignWindow</name>
    <message>
        <source>メニュー</source>
        <translation>Menu</translation>
    </message>
</context>
<context>
    <name>ColourPage</name>
    <message>
        <source>ウィンドウの背景色</source>
        <translation>Window background colour</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>水色</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>赤紫</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>黒</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>選択中</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>その他の色 (%1)</source>
        <translation>Other colour (%1)</translation>
    </message>
</context>
<context>
    <name>DisplayPage</name>
    <message>
        <source>表示</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>文字を滑らかに動かす</source>
        <translation>Smooth motion</translation>
    </message>
    <message>
        <source>常に手前に表示する</source>
        <translation>Stay on top</translation>
    </message>
    <message>
        <source>ログイン時に起動する</source>
        <translation>Start at login</translation>
    </message>
</context>
<context>
    <name>Frm_Main</name>
    <message>
        <source>起動することができません</source>
        <translation>Velmora cannot start.</translation>
    </message>
    <message>
        <source>自分の電光掲示板は「velmora --user」で、別のディレクトリの電光掲示板は「velmora -C ディレクトリ」で起動します。詳しくは「man velmora」をご覧ください。</source>
        <translation>Start your own sign with “velmora --user”, or a sign in another directory with “velmora -C DIR”. “man velmora” tells more.</translation>
    </message>
</context>
<context>
    <name>Frm_Setup</name>
    <message>
        <source>設定の更新に失敗しました</source>
        <translation>The settings could not be saved.</translation>
    </message>
</context>
<context>
    <name>Frm_Version</name>
    <message>
        <source>プログラムのアイコン</source>
        <translation>Program icon</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>起動することができません</source>
        <translation>Velmora cannot start.</translation>
    </message>
</context>
<context>
    <name>MessagePage</name>
    <message>
        <source>「%1」は「%2」として保存されます。</source>
        <translation>“%1” will be stored as “%2”.</translation>
    </message>
    <message>
        <source>表示文字列に「&quot;」と「,」を一緒に保存することはできません。どちらかを消してください。</source>
        <translation>The message cannot hold both a double quote (&quot;) and a comma (,). Remove one of them.</translation>
    </message>
    <message>
        <source>「&quot;」を表示文字列の先頭に置くことはできません。</source>
        <translation>The message cannot start with a double quote (&quot;).</translation>
    </message>
    <message>
        <source>「&quot;」を含む表示文字列は、空白で始めることができません。</source>
        <translation>A message holding a double quote (&quot;) cannot start with a blank.</translation>
    </message>
</context>
<context>
    <name>MessageValidator</name>
    <message>
        <source>表示文字列は一行です。改行は入力できません。</source>
        <translation>The message is one line: it cannot hold a line break.</translation>
    </message>
    <message>
        <source>この文字は保存できないため入力できません。</source>
        <translation>This character cannot be stored, so it cannot be typed.</translation>
    </message>
    <message>
        <source>表示文字列が長すぎるため入力できません。</source>
        <translation>The message would be too long to store.</translation>
    </message>
</context>
<context>
    <name>designed</name>
    <message>
        <source>Velmoraのデータファイルがありません。</source>
        <extracomment>What the sign shows until its message file has been read.</extracomment>
        <translation>The Velmora data file is missing.</translation>
    </message>
    <message>
        <source>設定</source>
        <extracomment>The sign&apos;s menu: opens the setup dialog.</extracomment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <extracomment>The sign&apos;s menu, and the caption of the dialog it opens.</extracomment>
        <translation>About Velmora</translation>
    </message>
    <message>
        <source>終了</source>
        <extracomment>The sign&apos;s menu: saves the window&apos;s place and quits.</extracomment>
        <translation>Quit</translation>
    </message>
    <message>
        <source>設定画面</source>
        <extracomment>The setup dialog&apos;s caption.</extracomment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>文字</source>
        <extracomment>The setup dialog&apos;s tabs: the message, its speed, its colours. The three share a strip 241 pixels wide.</extracomment>
        <translation>Message</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <extracomment>Both dialogs&apos; button that applies (setup) or closes (version).</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>表示文字列</source>
        <extracomment>The caption over the message box, which also names the box for screen readers.</extracomment>
        <translation>Message text</translation>
    </message>
    <message>
        <source>遅く</source>
        <extracomment>The slow end of the speed slider.</extracomment>
        <translation>Slow</translation>
    </message>
    <message>
        <source>早く</source>
        <extracomment>The fast end of the speed slider; at most 40 pixels wide.</extracomment>
        <translation>Fast</translation>
    </message>
    <message>
        <source>文字色</source>
        <extracomment>The row of text colours. A caption wider than 44 pixels moves the colour previews to the right.</extracomment>
        <translation>Text</translation>
    </message>
    <message>
        <source>背景色</source>
        <extracomment>The row of background colours. A caption wider than 44 pixels moves the colour previews to the right.</extracomment>
        <translation>Background</translation>
    </message>
    <message>
        <source>Velmora Version 1.00</source>
        <translation>Velmora Version 1.00</translation>
    </message>
    <message>
        <source>© 2026 Velmora Project</source>
        <translation>© 2026 Velmora Project</translation>
    </message>
</context>
</TS>
