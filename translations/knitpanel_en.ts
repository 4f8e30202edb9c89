<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>LabelTftp</name>
    <message>
        <source>正在联接服务器</source>
        <translation>Connecting to the server</translation>
    </message>
    <message>
        <source>正在联接下载服务器</source>
        <translation>Connecting to the download server</translation>
    </message>
    <message>
        <source>%1: 第 %2 / %3 次, 已等待 %4 秒</source>
        <translation>%1: try %2 / %3, %4 s waited</translation>
    </message>
</context>
<context>
    <name>MachineState</name>
    <message>
        <source>正在编织</source>
        <translation>Knitting</translation>
    </message>
    <message>
        <source>停机</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>主控制器未连接</source>
        <translation>Controller not connected</translation>
    </message>
    <message>
        <source>正在连接主控制器</source>
        <translation>Connecting to the controller</translation>
    </message>
</context>
<context>
    <name>StartPicture</name>
    <message>
        <source>名 称: %1</source>
        <translation>Name: %1</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>中文</source>
        <extracomment>The name of the language of this translation, written in it (&quot;English&quot;, &quot;Deutsch&quot;). The language menu shows it as is, whatever language the panel speaks at the time.</extracomment>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>languagemenu</name>
    <message>
        <source>语言设置保存失败, 下次开机仍用原来的语言 !</source>
        <translation>Language not saved: the next start uses the old one !</translation>
    </message>
    <message>
        <source>按数字键选择语言, 按&lt; X &gt;退出.</source>
        <extracomment>The language menu&apos;s help line; the digits are the items&apos; numbers.</extracomment>
        <translation>Press a digit to choose, &lt; X &gt; to leave.</translation>
    </message>
</context>
</TS>
