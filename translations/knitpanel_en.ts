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
    <message>
        <source>正在联接服务器, 请稍等 ......</source>
        <translation>Connecting to the server, please wait ......</translation>
    </message>
    <message>
        <source>正在联接下载服务器, 请稍等 ......</source>
        <translation>Connecting to the download server, please wait ......</translation>
    </message>
    <message>
        <source>正在下载: %1 B</source>
        <translation>Downloading: %1 B</translation>
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
    <name>MessageFrame</name>
    <message>
        <source>确    定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>信  息</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>QMDialogYN</name>
    <message>
        <source>取  消</source>
        <translation>Cancel</translation>
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
    <name>cntpanel</name>
    <message>
        <source>确   定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>fileoperate</name>
    <message>
        <source>上 传 文 件</source>
        <translation>Upload file</translation>
    </message>
    <message>
        <source>下 载 文 件</source>
        <translation>Download file</translation>
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
    <name>motopanel</name>
    <message>
        <source>密度:%1</source>
        <extracomment>A key driving one density motor to position %1.</extracomment>
        <translation>D:%1</translation>
    </message>
    <message>
        <source>整组:%1</source>
        <extracomment>A key driving every motor of the group to position %1.</extracomment>
        <translation>All:%1</translation>
    </message>
    <message>
        <source>密度:归零</source>
        <translation>D:Zero</translation>
    </message>
    <message>
        <source>整组测试</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>循环测试</source>
        <translation>Cycle</translation>
    </message>
</context>
<context>
    <name>multipanel</name>
    <message>
        <source> 上一页</source>
        <translation> PgUp</translation>
    </message>
    <message>
        <source> 下一页</source>
        <translation> PgDn</translation>
    </message>
    <message>
        <source> 整组修改</source>
        <translation> Set all</translation>
    </message>
    <message>
        <source> 上一组</source>
        <translation> Prev</translation>
    </message>
    <message>
        <source> 下一组</source>
        <translation> Next</translation>
    </message>
</context>
<context>
    <name>panelall</name>
    <message>
        <source>确   定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>后摇</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>前摇</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>K型</source>
        <translation>K type</translation>
    </message>
    <message>
        <source>L型</source>
        <translation>L type</translation>
    </message>
    <message>
        <source>单向</source>
        <translation>1-way</translation>
    </message>
    <message>
        <source>双向</source>
        <translation>2-way</translation>
    </message>
    <message>
        <source>左锁定</source>
        <translation>L lock</translation>
    </message>
    <message>
        <source>右锁定</source>
        <translation>R lock</translation>
    </message>
    <message>
        <source>不锁定</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>清   零</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>testpanel</name>
    <message>
        <source>取 消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确 定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>testpaneladd</name>
    <message>
        <source>方式%1</source>
        <translation>Mode %1</translation>
    </message>
    <message>
        <source>选针器测试%1</source>
        <translation>Sel.test%1</translation>
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
