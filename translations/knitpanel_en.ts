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
    <name>dialogide</name>
    <message>
        <source>新导入文件未上传到主控制器, 请停止后按F3上传 !</source>
        <translation>The imported files have not been sent to the controller: stop the machine and press F3 to send them!</translation>
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
<context>
    <name>wave</name>
    <message>
        <source>1.编织参数</source>
        <translation>1.Knitting</translation>
    </message>
    <message>
        <source>2.常用参数</source>
        <translation>2.Common</translation>
    </message>
    <message>
        <source>3.文件操作</source>
        <translation>3.Files</translation>
    </message>
    <message>
        <source>4.其它参数</source>
        <translation>4.Other</translation>
    </message>
    <message>
        <source>5.片 展 开  </source>
        <translation>5.Pieces</translation>
    </message>
    <message>
        <source>6.测试工具</source>
        <translation>6.Tests</translation>
    </message>
    <message>
        <source>7.系统工具</source>
        <translation>7.System</translation>
    </message>
    <message>
        <source>8.备      用</source>
        <translation>8.Language</translation>
    </message>
    <message>
        <source>9.备      用</source>
        <translation>9.Spare</translation>
    </message>
    <message>
        <source>0.跳行调试</source>
        <translation>0.Skip row</translation>
    </message>
    <message>
        <source>罗拉正转</source>
        <translation>Rollers +</translation>
    </message>
    <message>
        <source>罗拉反转</source>
        <translation>Rollers -</translation>
    </message>
    <message>
        <source>归零</source>
        <translation>Zero</translation>
    </message>
    <message>
        <source>锁行</source>
        <translation>Lock</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>件数</source>
        <translation>Piece</translation>
    </message>
    <message>
        <source>报错</source>
        <translation>Errors</translation>
    </message>
    <message>
        <source>纱嘴</source>
        <translation>Yarn</translation>
    </message>
    <message>
        <source>关机</source>
        <translation>Off</translation>
    </message>
</context>
</TS>
