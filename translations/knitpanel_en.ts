<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AlarmTexts</name>
    <message>
        <source>从控制器动作等待 !</source>
        <translation>Waiting for the slave controller !</translation>
    </message>
    <message>
        <source>纱嘴未下落, 请按F6键切换 ! </source>
        <translation>Carrier not down, press F6 to switch ! </translation>
    </message>
    <message>
        <source>主从控制器通信失败, 请检查通信线路 ! </source>
        <translation>Controllers not talking, check the cable ! </translation>
    </message>
    <message>
        <source>编织宽度超过针床总针数, 请查看片展开设置 ! </source>
        <translation>Knitting wider than the bed, check piece expansion ! </translation>
    </message>
    <message>
        <source>没有编织文件, 请选择编织文件 ! </source>
        <translation>No job, please choose a job ! </translation>
    </message>
    <message>
        <source>无法识别编织文件, 请检查编织文件 ! </source>
        <translation>Unknown job file, please check the job ! </translation>
    </message>
    <message>
        <source>单片停车, 启动拉杆继续编织 ! </source>
        <translation>Piece stop: pull the start bar to go on ! </translation>
    </message>
    <message>
        <source>设定件数已经完成, 请重新设定件数 !</source>
        <translation>Pieces done, set a new count !</translation>
    </message>
    <message>
        <source>指定行停车 !</source>
        <translation>Stopped at the set row !</translation>
    </message>
    <message>
        <source>机头左限位报警 ! </source>
        <translation>Carriage left limit ! </translation>
    </message>
    <message>
        <source>机头右限位报警 ! </source>
        <translation>Carriage right limit ! </translation>
    </message>
    <message>
        <source>机头零位传感器报警 ! </source>
        <translation>Carriage zero sensor alarm ! </translation>
    </message>
    <message>
        <source>摇床限位报警 ! </source>
        <translation>Racking limit ! </translation>
    </message>
    <message>
        <source>主伺服故障报警 ! </source>
        <translation>Main servo fault ! </translation>
    </message>
    <message>
        <source>摇床伺服故障报警 ! </source>
        <translation>Racking servo fault ! </translation>
    </message>
    <message>
        <source>副落布不良报警 ! </source>
        <translation>Aux fabric drop fault ! </translation>
    </message>
    <message>
        <source>落布不良报警 ! </source>
        <translation>Fabric drop fault ! </translation>
    </message>
    <message>
        <source>卷布不良报警 ! </source>
        <translation>Fabric winding fault ! </translation>
    </message>
    <message>
        <source>右收线断纱报警 ! </source>
        <translation>Right take-up yarn break ! </translation>
    </message>
    <message>
        <source>左收线断纱报警 ! </source>
        <translation>Left take-up yarn break ! </translation>
    </message>
    <message>
        <source>右输纱器报警 ! </source>
        <translation>Right feeder alarm ! </translation>
    </message>
    <message>
        <source>左输纱器报警 ! </source>
        <translation>Left feeder alarm ! </translation>
    </message>
    <message>
        <source>天线台断纱报警 ! </source>
        <translation>Top yarn break ! </translation>
    </message>
    <message>
        <source>撞针报警 ! </source>
        <translation>Needle crash ! </translation>
    </message>
    <message>
        <source>UPS断电报警 ! </source>
        <translation>UPS power loss ! </translation>
    </message>
    <message>
        <source>主12V断电报警 ! </source>
        <translation>Main 12V power loss ! </translation>
    </message>
    <message>
        <source>主24V断电报警 ! </source>
        <translation>Main 24V power loss ! </translation>
    </message>
    <message>
        <source>主80V断电报警 ! </source>
        <translation>Main 80V power loss ! </translation>
    </message>
    <message>
        <source>急停按钮保护报警 ! </source>
        <translation>Emergency stop pressed ! </translation>
    </message>
    <message>
        <source>UPS故障报警 ! </source>
        <translation>UPS fault ! </translation>
    </message>
    <message>
        <source>机头F4保险丝报警 ! </source>
        <translation>Carriage fuse F4 ! </translation>
    </message>
    <message>
        <source>机头F5保险丝报警 ! </source>
        <translation>Carriage fuse F5 ! </translation>
    </message>
    <message>
        <source>机头F1保险丝报警 ! </source>
        <translation>Carriage fuse F1 ! </translation>
    </message>
    <message>
        <source>机头F6保险丝报警 ! </source>
        <translation>Carriage fuse F6 ! </translation>
    </message>
    <message>
        <source>机头F3保险丝报警 ! </source>
        <translation>Carriage fuse F3 ! </translation>
    </message>
    <message>
        <source>机头F2保险丝报警 ! </source>
        <translation>Carriage fuse F2 ! </translation>
    </message>
    <message>
        <source>机头探针( 浮纱 )报警 ! </source>
        <translation>Carriage probe (loose yarn) ! </translation>
    </message>
    <message>
        <source>左系统前 1 密度电机报警 ! </source>
        <translation>Left system front 1 stitch motor ! </translation>
    </message>
    <message>
        <source>左系统前 2 密度电机报警 ! </source>
        <translation>Left system front 2 stitch motor ! </translation>
    </message>
    <message>
        <source>左系统后 1 密度电机报警 ! </source>
        <translation>Left system back 1 stitch motor ! </translation>
    </message>
    <message>
        <source>左系统后 2 密度电机报警 ! </source>
        <translation>Left system back 2 stitch motor ! </translation>
    </message>
    <message>
        <source>右系统前 1 密度电机报警 ! </source>
        <translation>Right system front 1 stitch motor ! </translation>
    </message>
    <message>
        <source>右系统前 2 密度电机报警 ! </source>
        <translation>Right system front 2 stitch motor ! </translation>
    </message>
    <message>
        <source>右系统后 1 密度电机报警 ! </source>
        <translation>Right system back 1 stitch motor ! </translation>
    </message>
    <message>
        <source>右系统后 2 密度电机报警 ! </source>
        <translation>Right system back 2 stitch motor ! </translation>
    </message>
    <message>
        <source>沉降马达故障报警 ! </source>
        <translation>Sinker motor fault ! </translation>
    </message>
    <message>
        <source>未知类型%1%2</source>
        <extracomment>An alarm of a type the panel does not know: %1 the type, %2 the code, written together</extracomment>
        <translation>Unknown type %1%2</translation>
    </message>
    <message>
        <source>报警%1 - %2</source>
        <extracomment>An alarm without its own text: %1 the type, %2 the code</extracomment>
        <translation>Alarm %1 - %2</translation>
    </message>
</context>
<context>
    <name>AutomaticTestKeys</name>
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
    <name>BmpEdit</name>
    <message>
        <source>图片文件浏览工具 - %1</source>
        <translation>Picture viewer - %1</translation>
    </message>
</context>
<context>
    <name>CarriageTestKeys</name>
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
    <name>CarriageTestPage</name>
    <message>
        <source>M.关闭测试菜单</source>
        <translation>M.Hide test menu</translation>
    </message>
    <message>
        <source>M.打开测试菜单</source>
        <translation>M.Show test menu</translation>
    </message>
    <message>
        <source>其它信号</source>
        <translation>Others</translation>
    </message>
    <message>
        <source>正在退出机头测试界面, 请稍后 !</source>
        <translation>Leaving the carriage test, please wait!</translation>
    </message>
    <message>
        <source>正在进行整组循环测试, 按&lt; 确定 &gt;取消测试 !</source>
        <translation>Cycling the whole group, press &lt;Enter&gt; to stop!</translation>
    </message>
    <message>
        <source>正在进行方式%1自动测试, 按&lt; 确定 &gt;取消测试 !</source>
        <translation>Automatic test, mode %1, press &lt;Enter&gt; to stop!</translation>
    </message>
    <message>
        <source>正在进行选针器测试(频率 = %1 Hz) , 按&lt; 确定 &gt;取消测试 !</source>
        <translation>Selector test (%1 Hz), press &lt;Enter&gt; to stop!</translation>
    </message>
</context>
<context>
    <name>CarrierSpeedCorrectionPage</name>
    <message>
        <source>保存系统备份参数失败, 请重试 !</source>
        <translation>Saving the system backup failed, please retry !</translation>
    </message>
</context>
<context>
    <name>CarrierStartStrip</name>
    <message>
        <source>纱嘴初始位置</source>
        <translation>Carrier start</translation>
    </message>
</context>
<context>
    <name>CellText</name>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>不锁定</source>
        <extracomment>A lock cell shows the stored state (不锁定 / 左锁定 / 右锁定) but is typed as 不锁定 / 左系统 / 右系统; the two sets must differ. Eight characters at most, as every choice word. Enter on a lock cell that shows a locked state is refused: the side must be typed.</extracomment>
        <translation>None</translation>
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
        <source>左系统</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右系统</source>
        <translation>Right</translation>
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
        <source>后摇</source>
        <translation>Rear</translation>
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
        <source>未知</source>
        <translation>N/A</translation>
    </message>
</context>
<context>
    <name>ClockFrame</name>
    <message>
        <source>控制器系统时间设置</source>
        <translation>System clock</translation>
    </message>
</context>
<context>
    <name>ClockPage</name>
    <message>
        <source>年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>时</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>分</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>Sec</translation>
    </message>
    <message>
        <source>系统时间设置失败 !</source>
        <translation>Setting the clock failed!</translation>
    </message>
    <message>
        <source>控制器系统时间设置     当前时间 : %1</source>
        <translation>System clock     Now: %1</translation>
    </message>
</context>
<context>
    <name>CntEdit</name>
    <message>
        <source>确定要修改吗 ?</source>
        <translation>Change it ?</translation>
    </message>
    <message>
        <source>M..查 找 行</source>
        <translation>M..Go to row</translation>
    </message>
    <message>
        <source>F7.最 前 行</source>
        <translation>F7.First row</translation>
    </message>
    <message>
        <source>F8.最 后 行</source>
        <translation>F8.Last row</translation>
    </message>
    <message>
        <source>+/-系统交换</source>
        <translation>+/-Swap sys.</translation>
    </message>
    <message>
        <source>Pu.上 一 行</source>
        <translation>Pu.Prev. row</translation>
    </message>
    <message>
        <source>Pd.下 一 行</source>
        <translation>Pd.Next row</translation>
    </message>
    <message>
        <source>. .打开软键盘</source>
        <translation>. .Keyboard</translation>
    </message>
    <message>
        <source>花 板 行</source>
        <translation>Pattern row</translation>
    </message>
    <message>
        <source>A位选针</source>
        <translation>A selection</translation>
    </message>
    <message>
        <source>H位选针</source>
        <translation>H selection</translation>
    </message>
    <message>
        <source>A位指令</source>
        <translation>A command</translation>
    </message>
    <message>
        <source>H位指令</source>
        <translation>H command</translation>
    </message>
    <message>
        <source>度目组</source>
        <translation>Stitch grp</translation>
    </message>
    <message>
        <source>类  型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>回    到</source>
        <translation>Back to</translation>
    </message>
    <message>
        <source>行&lt;&gt;循环</source>
        <translation>Row loop</translation>
    </message>
    <message>
        <source>主 罗 拉</source>
        <translation>Main roller</translation>
    </message>
    <message>
        <source>辅助罗拉</source>
        <translation>Aux. roller</translation>
    </message>
    <message>
        <source>摇    床</source>
        <translation>Racking</translation>
    </message>
    <message>
        <source>开合罗拉</source>
        <translation>Split roller</translation>
    </message>
    <message>
        <source>速    度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>纱觜停放</source>
        <translation>Parking</translation>
    </message>
    <message>
        <source>打开文件失败, 请重试 !</source>
        <translation>Opening the file failed, please retry !</translation>
    </message>
    <message>
        <source>该文件是空文件 !</source>
        <translation>The file is empty !</translation>
    </message>
    <message>
        <source>系    统  I</source>
        <translation>System  I</translation>
    </message>
    <message>
        <source>系    统  II</source>
        <translation>System  II</translation>
    </message>
    <message>
        <source>  编织衣物动作文件浏览工具 - %1     第: %2  /  %3</source>
        <translation>  Knitting program viewer - %1     Row: %2  /  %3</translation>
    </message>
    <message>
        <source>确定要交换当前左右系统信息吗 ?</source>
        <translation>Swap the left and right systems of this row ?</translation>
    </message>
    <message>
        <source>跳  行</source>
        <translation>Go to row</translation>
    </message>
    <message>
        <source>请输入跳行行数</source>
        <translation>Enter the row number</translation>
    </message>
    <message>
        <source>保存动作文件失败 , 请重试 !</source>
        <translation>Saving the program failed , please retry !</translation>
    </message>
    <message>
        <source>是否放弃修改 ?</source>
        <translation>Discard the changes ?</translation>
    </message>
    <message>
        <source>文件保存完毕 !</source>
        <translation>File saved !</translation>
    </message>
</context>
<context>
    <name>CntFile</name>
    <message>
        <source>cnt文件读取失败 !</source>
        <translation>Cannot read the .cnt file!</translation>
    </message>
    <message>
        <source>cnt文件大于1M !</source>
        <translation>The .cnt file is larger than 1 MB!</translation>
    </message>
    <message>
        <source>cnt文件格式错误 !</source>
        <translation>The .cnt file&apos;s format is wrong!</translation>
    </message>
    <message>
        <source>cnt文件没有校验码 !</source>
        <translation>The .cnt file has no checksum!</translation>
    </message>
    <message>
        <source>cnt文件校验码错误 !</source>
        <translation>The .cnt file&apos;s checksum is wrong!</translation>
    </message>
</context>
<context>
    <name>CntStore</name>
    <message>
        <source>参数错误, 请查看参数说明 !</source>
        <translation>Wrong value, see the help line!</translation>
    </message>
    <message>
        <source>参数设置失败, 请重试 !</source>
        <translation>Setting the value failed, try again!</translation>
    </message>
    <message>
        <source>进入设置界面失败, 请重试 !</source>
        <translation>Entering the settings failed, try again!</translation>
    </message>
    <message>
        <source>第1行不能设置循环 !</source>
        <translation>Row 1 cannot loop!</translation>
    </message>
    <message>
        <source>说明: 请使用系统交换功能</source>
        <translation>Note: use the system exchange</translation>
    </message>
    <message>
        <source>参数范围 : 1 ~ 24</source>
        <translation>Range : 1 ~ 24</translation>
    </message>
    <message>
        <source>跳行超过文件总行数</source>
        <translation>Skip beyond the last row</translation>
    </message>
    <message>
        <source>数字 : 1 ~ 8 选择纱嘴</source>
        <translation>Digits 1 ~ 8 choose carriers</translation>
    </message>
    <message>
        <source>默认 : 单面</source>
        <translation>Default : single bed</translation>
    </message>
    <message>
        <source>参数范围 : 1 ~%1</source>
        <translation>Range : 1 ~%1</translation>
    </message>
    <message>
        <source>参数范围 : 0 ~ 255</source>
        <translation>Range : 0 ~ 255</translation>
    </message>
    <message>
        <source>参数范围 : 1 ~ 8</source>
        <translation>Range : 1 ~ 8</translation>
    </message>
    <message>
        <source>回到行数要小于当前行数 !</source>
        <translation>The row to go back to must be before this one!</translation>
    </message>
    <message>
        <source>请设置循环次数 !</source>
        <translation>Set the loop count!</translation>
    </message>
    <message>
        <source>奇数行不能回到奇数行 !</source>
        <translation>An odd row cannot go back to an odd row!</translation>
    </message>
    <message>
        <source>偶数行不能回到偶数行 !</source>
        <translation>An even row cannot go back to an even row!</translation>
    </message>
</context>
<context>
    <name>ControllerMessages</name>
    <message>
        <source>与主控制器连接失败, 请检查通信线路 !</source>
        <translation>No connection to the main controller, check the cable!</translation>
    </message>
    <message>
        <source>机头正在运行, 不能升级 !</source>
        <translation>The carriage is running, cannot update!</translation>
    </message>
    <message>
        <source>机头正在运行, 不能关机 ! </source>
        <translation>The carriage is running, cannot shut down! </translation>
    </message>
    <message>
        <source>正在关机, 请稍等 ... ... </source>
        <translation>Shutting down, please wait ... ... </translation>
    </message>
    <message>
        <source>不能关机, 请检查主控制器 !</source>
        <translation>Cannot shut down, check the main controller!</translation>
    </message>
    <message>
        <source>进入升级界面, 请重试 !</source>
        <translation>Entering the update mode failed, try again!</translation>
    </message>
    <message>
        <source>升级失败, 请重试 !</source>
        <translation>The update failed, try again!</translation>
    </message>
    <message>
        <source>正在烧写主控制器程序, 请等待大约15秒 !( 不要进行其它操作 )</source>
        <translation>Writing the main controller&apos;s program, about 15 s! (Do nothing else)</translation>
    </message>
    <message>
        <source>正在烧写从控制器程序, 请等待大约30秒 !( 不要进行其它操作 )</source>
        <translation>Writing the slave controller&apos;s program, about 30 s! (Do nothing else)</translation>
    </message>
    <message>
        <source>机头正在运行, 不能修改 !</source>
        <translation>The carriage is running, cannot change!</translation>
    </message>
</context>
<context>
    <name>ControllerTestMenu</name>
    <message>
        <source>1.机头测试</source>
        <translation>1.Carriage test</translation>
    </message>
    <message>
        <source>2.输入输出测试</source>
        <translation>2.Input/output test</translation>
    </message>
    <message>
        <source>F1.罗拉正转</source>
        <translation>F1.Rollers forward</translation>
    </message>
    <message>
        <source>F2.罗拉反转</source>
        <translation>F2.Rollers backward</translation>
    </message>
    <message>
        <source>选择要测试的项目, 按&lt; 确定 &gt;进入.</source>
        <translation>Choose what to test and press &lt;Enter&gt;.</translation>
    </message>
</context>
<context>
    <name>DensityCorrectionPage</name>
    <message>
        <source>F1.备  份</source>
        <translation>F1.Back up</translation>
    </message>
    <message>
        <source>F2.还  原</source>
        <translation>F2.Restore</translation>
    </message>
    <message>
        <source>Pu.上一备份</source>
        <translation>Pu.Prev. backup</translation>
    </message>
    <message>
        <source>Pd.下一备份</source>
        <translation>Pd.Next backup</translation>
    </message>
    <message>
        <source>参数范围 : -100 ~ 100     备份号 :%1</source>
        <translation>Range : -100 ~ 100     Backup :%1</translation>
    </message>
    <message>
        <source>确定要将当前修正值存到备份号%1吗 ?</source>
        <translation>Store the corrections as backup %1 ?</translation>
    </message>
    <message>
        <source>保存密度备份文件失败 !</source>
        <translation>Saving the stitch backup file failed !</translation>
    </message>
    <message>
        <source>确定要将备份号%1覆盖到修正值吗 ?</source>
        <translation>Restore the corrections from backup %1 ?</translation>
    </message>
</context>
<context>
    <name>DesktopSettingsFrame</name>
    <message>
        <source>控制器桌面图片和屏幕保护时间设置</source>
        <translation>Desktop picture and screen saver</translation>
    </message>
</context>
<context>
    <name>DesktopSettingsPage</name>
    <message>
        <source>F1. 从U盘导入桌面图片</source>
        <translation>F1. Import a desktop picture from the USB stick</translation>
    </message>
    <message>
        <source>F2. 恢复出厂桌面图片设置</source>
        <translation>F2. Restore the factory desktop picture</translation>
    </message>
    <message>
        <source>F3. 屏幕保护等待 : %1 分</source>
        <translation>F3. Screen saver after: %1 min</translation>
    </message>
    <message>
        <source>F3. 屏幕保护( 关闭 )</source>
        <translation>F3. Screen saver (off)</translation>
    </message>
    <message>
        <source>保存桌面设置失败, 请重试 !</source>
        <translation>Saving the desktop setting failed, try again!</translation>
    </message>
    <message>
        <source>导入桌面图片 ... ...</source>
        <translation>Import desktop picture ... ...</translation>
    </message>
    <message>
        <source>确定要恢复出产时的桌面吗 ?</source>
        <translation>Restore the factory desktop?</translation>
    </message>
</context>
<context>
    <name>DiskFileManager</name>
    <message>
        <source>机头正在运行, 请先停止运行 !</source>
        <translation>The carriage is running, stop it first!</translation>
    </message>
    <message>
        <source>F1.导入编织文件</source>
        <translation>F1.Import job</translation>
    </message>
    <message>
        <source>F2.导出编织文件</source>
        <translation>F2.Export job</translation>
    </message>
    <message>
        <source>F3.上传编织文件</source>
        <translation>F3.Send job</translation>
    </message>
    <message>
        <source>F4.图片文件浏览</source>
        <translation>F4.Picture</translation>
    </message>
    <message>
        <source>F5.动作文件浏览</source>
        <translation>F5.Program</translation>
    </message>
    <message>
        <source>F6.花型文件浏览</source>
        <translation>F6.Pattern</translation>
    </message>
    <message>
        <source>F7.工作参数管理</source>
        <translation>F7.Work para</translation>
    </message>
    <message>
        <source>F8.编织文件删除</source>
        <translation>F8.Delete job</translation>
    </message>
    <message>
        <source> M.硬盘信息管理</source>
        <translation> M.Disk info</translation>
    </message>
    <message>
        <source>花型长度:%1     花型宽度:%2</source>
        <translation>Pattern length: %1     Pattern width: %2</translation>
    </message>
    <message>
        <source>确定选择该编织文件: %1</source>
        <translation>Choose this job: %1?</translation>
    </message>
    <message>
        <source>你的花型存储容量不足,请删除不用的花型文件 !</source>
        <translation>The disk is almost full: delete jobs you no longer need!</translation>
    </message>
    <message>
        <source>导入编织文件 ... </source>
        <translation>Import job ... </translation>
    </message>
    <message>
        <source>新导入文件与正在编织文件名相同 !</source>
        <translation>The imported job has the name of the job being knitted!</translation>
    </message>
    <message>
        <source>新导入文件未上传到主控制器, 请停止后按F3上传 !</source>
        <translation>The imported files have not been sent to the controller: stop the machine and press F3 to send them!</translation>
    </message>
    <message>
        <source>文件另存为 ... </source>
        <translation>Save as ... </translation>
    </message>
    <message>
        <source>该编织文件没有图片文件 !</source>
        <translation>This job has no picture file!</translation>
    </message>
    <message>
        <source>确定删除该文件吗?</source>
        <translation>Delete this file?</translation>
    </message>
    <message>
        <source>删除文件失败 !</source>
        <translation>Could not delete the file!</translation>
    </message>
</context>
<context>
    <name>FileOperateDialog</name>
    <message>
        <source>文 件 复 制</source>
        <translation>File copy</translation>
    </message>
    <message>
        <source>从 : %1</source>
        <translation>From: %1</translation>
    </message>
    <message>
        <source>到 : %1</source>
        <translation>To: %1</translation>
    </message>
    <message>
        <source>退    出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>从 : 源文件错误 !</source>
        <translation>From: source file error!</translation>
    </message>
    <message>
        <source>到 : 目标文件错误 !</source>
        <translation>To: destination file error!</translation>
    </message>
</context>
<context>
    <name>FlashDiskFormatDialog</name>
    <message>
        <source>电子硬盘格式化工具</source>
        <translation>Flash disk format tool</translation>
    </message>
    <message>
        <source>E.硬盘格式化</source>
        <translation>E.Format disk</translation>
    </message>
    <message>
        <source>M.硬盘修复</source>
        <translation>M.Repair disk</translation>
    </message>
    <message>
        <source>警告: 格式化将删除电子硬盘上的所有数据 !是否格式化 ?</source>
        <translation>Warning: formatting deletes all data on the flash disk! Format it?</translation>
    </message>
    <message>
        <source>是否修复电子硬盘上的文件 ?</source>
        <translation>Repair the files on the flash disk?</translation>
    </message>
</context>
<context>
    <name>FormatTools</name>
    <message>
        <source>创建格式化工具</source>
        <translation>Preparing the format tool</translation>
    </message>
    <message>
        <source>正在复制需要保存的文件, 请不要作其它的操作, 请等候 ...... !</source>
        <translation>Copying the files to keep, do nothing else, please wait ...... !</translation>
    </message>
    <message>
        <source>复制需要保存的文件</source>
        <translation>Copying the files to keep</translation>
    </message>
    <message>
        <source>卸载电子硬盘模块</source>
        <translation>Unmounting the flash disk</translation>
    </message>
    <message>
        <source>正在格式化电子硬盘, 请等待 !</source>
        <translation>Formatting the flash disk, please wait !</translation>
    </message>
    <message>
        <source>正在保存参数,请稍候 ...... !</source>
        <translation>Restoring the parameters, please wait ...... !</translation>
    </message>
    <message>
        <source>格式化电子硬盘</source>
        <translation>Formatting the flash disk</translation>
    </message>
    <message>
        <source>恢复保存的文件</source>
        <translation>Restoring the kept files</translation>
    </message>
    <message>
        <source>部分容量为系统内部使用 !</source>
        <translation>Part of the space is used by the system !</translation>
    </message>
    <message>
        <source>正在电子硬盘数据, 请等待 !</source>
        <translation>Repairing the flash disk, please wait !</translation>
    </message>
    <message>
        <source>正在电子硬盘数据修复完毕 !</source>
        <translation>Flash disk repair finished !</translation>
    </message>
    <message>
        <source>%1............成功 !</source>
        <translation>%1............done !</translation>
    </message>
    <message>
        <source>%1............失败 !</source>
        <translation>%1............failed !</translation>
    </message>
    <message>
        <source>U盘容量: %1     剩余容量: %2</source>
        <translation>Size: %1     Free: %2</translation>
    </message>
    <message>
        <source>卸载U盘模块</source>
        <translation>Unloading the USB driver</translation>
    </message>
    <message>
        <source>重新加载U盘模块</source>
        <translation>Reloading the USB driver</translation>
    </message>
    <message>
        <source>正在格式化U盘, 请等待 !</source>
        <translation>Formatting the USB stick, please wait !</translation>
    </message>
    <message>
        <source>格式化U盘模块</source>
        <translation>Formatting the USB stick</translation>
    </message>
</context>
<context>
    <name>FrequentSettingsPage</name>
    <message>
        <source>确定要清除已经完成的件数吗 ?</source>
        <translation>Clear the pieces done ?</translation>
    </message>
</context>
<context>
    <name>FullUpdate</name>
    <message>
        <source>主控: %1  从控: %2  显示: %3     开始升级吗?</source>
        <extracomment>%1, %2, %3: the main controller&apos;s, the slave controller&apos;s and the panel&apos;s file names</extracomment>
        <translation>Main: %1  Slave: %2  Panel: %3     Start the update?</translation>
    </message>
    <message>
        <source>复制从控制器文件失败 !</source>
        <translation>Copying the controller files failed!</translation>
    </message>
    <message>
        <source>升级完成, 是否关闭控制系统 ? </source>
        <translation>Update done. Shut down the control system? </translation>
    </message>
</context>
<context>
    <name>HistoryPage</name>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Acknowledged</translation>
    </message>
    <message>
        <source>解除</source>
        <translation>Cleared</translation>
    </message>
    <message>
        <source>最近 200 条报警记录, 新的在前. F1-F3 换页, 上下键翻看.</source>
        <translation>The last 200 alarm events, newest first. F1-F3 turn the tabs, Up/Down scroll.</translation>
    </message>
    <message>
        <source>最近 7 天最常见的 10 种报警: 次数与停机时间.</source>
        <translation>The 10 most frequent alarms of the last 7 days: count and standing time.</translation>
    </message>
    <message>
        <source>最近 7 天每天的件数, 编织时间, 停车时间和编织比例.</source>
        <translation>Pieces, knitting time, stopped time and knitting share of each of the last 7 days.</translation>
    </message>
    <message>
        <source>F1.报警记录</source>
        <translation>F1.Alarm journal</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>事件</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>报警内容</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>花型</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>F2.常见报警</source>
        <translation>F2.Frequent alarms</translation>
    </message>
    <message>
        <source>次数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>停机时间</source>
        <translation>Standing</translation>
    </message>
    <message>
        <source>F3.生产统计</source>
        <translation>F3.Production</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>件数</source>
        <translation>Pieces</translation>
    </message>
    <message>
        <source>编织时间</source>
        <translation>Knitting</translation>
    </message>
    <message>
        <source>停车时间</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>编织比例</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>F4.导出到U盘</source>
        <translation>F4.Export to USB</translation>
    </message>
    <message>
        <source>导出到U盘</source>
        <translation>Export to USB</translation>
    </message>
    <message>
        <source>导出文件失败, 请重试 !</source>
        <translation>Exporting failed, try again !</translation>
    </message>
    <message numerus="yes">
        <source> (%n 行记录损坏, 已跳过)</source>
        <translation>
            <numerusform> (%n damaged line skipped)</numerusform>
            <numerusform> (%n damaged lines skipped)</numerusform>
        </translation>
    </message>
    <message>
        <source>停机原因</source>
        <translation>Stop reason</translation>
    </message>
</context>
<context>
    <name>IoInputs</name>
    <message>
        <source>主电机故障信号</source>
        <translation>Main motor fault</translation>
    </message>
    <message>
        <source>主电机准备信号</source>
        <translation>Main motor ready</translation>
    </message>
    <message>
        <source>摇床电机故障信号</source>
        <translation>Racking motor fault</translation>
    </message>
    <message>
        <source>摇床电机准备信号</source>
        <translation>Racking motor ready</translation>
    </message>
    <message>
        <source>拉杆启动信号</source>
        <translation>Start lever</translation>
    </message>
    <message>
        <source>拉杆停止信号</source>
        <translation>Stop lever</translation>
    </message>
    <message>
        <source>拉杆慢动信号</source>
        <translation>Slow-run lever</translation>
    </message>
    <message>
        <source>紧急停止信号</source>
        <translation>Emergency stop</translation>
    </message>
    <message>
        <source>机头左限位信号</source>
        <translation>Carriage left limit</translation>
    </message>
    <message>
        <source>机头右限位信号</source>
        <translation>Carriage right limit</translation>
    </message>
    <message>
        <source>摇床零位信号</source>
        <translation>Racking zero</translation>
    </message>
    <message>
        <source>摇床限位信号</source>
        <translation>Racking limit</translation>
    </message>
    <message>
        <source>左收线信号</source>
        <translation>Left take-up</translation>
    </message>
    <message>
        <source>右收线信号</source>
        <translation>Right take-up</translation>
    </message>
    <message>
        <source>天台断纱信号</source>
        <translation>Top yarn break</translation>
    </message>
    <message>
        <source>左输纱器报警</source>
        <translation>Left feeder alarm</translation>
    </message>
    <message>
        <source>右输纱器报警</source>
        <translation>Right feeder alarm</translation>
    </message>
    <message>
        <source>卷布不良信号</source>
        <translation>Take-down fault</translation>
    </message>
    <message>
        <source>落布不良信号</source>
        <translation>Fabric drop fault</translation>
    </message>
    <message>
        <source>副拉布限位信号</source>
        <translation>Aux take-down limit</translation>
    </message>
    <message>
        <source>针床撞击信号</source>
        <translation>Bed collision</translation>
    </message>
    <message>
        <source>摇床马达零位信号</source>
        <translation>Racking motor zero</translation>
    </message>
    <message>
        <source>后备电源故障信号</source>
        <translation>Backup power fault</translation>
    </message>
    <message>
        <source>主电源掉电信号</source>
        <translation>Main power loss</translation>
    </message>
    <message>
        <source>转接板80V保险丝</source>
        <translation>Adapter 80V fuse</translation>
    </message>
    <message>
        <source>针零位信号</source>
        <translation>Needle zero</translation>
    </message>
    <message>
        <source>闭合</source>
        <translation>Closed</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>IoOutputs</name>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>正转</source>
        <translation>Fwd</translation>
    </message>
    <message>
        <source>反转</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>向左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>向右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>操作说明:1 = 打开 2 = 关闭</source>
        <translation>Keys: 1 = on 2 = off</translation>
    </message>
    <message>
        <source>操作说明:输入 0 - 99 的数字, 按确定键</source>
        <translation>Keys: type a number 0 - 99 and press Enter</translation>
    </message>
    <message>
        <source>红色指示灯..................</source>
        <translation>Red lamp........</translation>
    </message>
    <message>
        <source>操作说明:1 = 打开红色指示灯 2 = 关闭红色指示灯</source>
        <translation>Keys: 1 = red lamp on 2 = red lamp off</translation>
    </message>
    <message>
        <source>绿色指示灯..................</source>
        <translation>Green lamp......</translation>
    </message>
    <message>
        <source>操作说明:1 = 打开绿色指示灯 2 = 关闭绿色指示灯</source>
        <translation>Keys: 1 = green lamp on 2 = green lamp off</translation>
    </message>
    <message>
        <source>黄色指示灯..................</source>
        <translation>Yellow lamp.....</translation>
    </message>
    <message>
        <source>操作说明:1 = 打开黄色指示灯 2 = 关闭黄色指示灯</source>
        <translation>Keys: 1 = yellow lamp on 2 = yellow lamp off</translation>
    </message>
    <message>
        <source>其它测试......................</source>
        <translation>Other test......</translation>
    </message>
    <message>
        <source>辅助罗拉......................</source>
        <translation>Aux roller......</translation>
    </message>
    <message>
        <source>主罗拉..........................</source>
        <translation>Main roller.....</translation>
    </message>
    <message>
        <source>主罗拉转向..................</source>
        <translation>Roller direction</translation>
    </message>
    <message>
        <source>操作说明:1 = 正转 2 = 反转</source>
        <translation>Keys: 1 = forward 2 = backward</translation>
    </message>
    <message>
        <source>摇床..............................</source>
        <translation>Racking.........</translation>
    </message>
    <message>
        <source>操作说明:1 = 00 2 = R1 3 = R3 4 = L1 5 = L3</source>
        <translation>Keys: 1 = 00 2 = R1 3 = R3 4 = L1 5 = L3</translation>
    </message>
    <message>
        <source>翻针位..........................</source>
        <translation>Transfer pos....</translation>
    </message>
    <message>
        <source>撞击使能......................</source>
        <translation>Collision on....</translation>
    </message>
    <message>
        <source>方向..............................</source>
        <translation>Direction.......</translation>
    </message>
    <message>
        <source>操作说明:1 = 向左 2 = 向右 3 = 停止</source>
        <translation>Keys: 1 = left 2 = right 3 = stop</translation>
    </message>
    <message>
        <source>速度..............................</source>
        <translation>Speed...........</translation>
    </message>
    <message>
        <source>操作说明:输入 0 - 10 的数字, 按确定键</source>
        <translation>Keys: type a number 0 - 10 and press Enter</translation>
    </message>
</context>
<context>
    <name>IoTestKeys</name>
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
    <name>IoTestPage</name>
    <message>
        <source>机头速度</source>
        <translation>Carr. speed</translation>
    </message>
    <message>
        <source>针信号计数值</source>
        <translation>Needle count</translation>
    </message>
    <message>
        <source>键盘键码</source>
        <translation>Key code</translation>
    </message>
    <message>
        <source>网络连接状态</source>
        <translation>Link state</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Fault</translation>
    </message>
    <message>
        <source>请先停止机头运行 !</source>
        <translation>Stop the carriage first!</translation>
    </message>
</context>
<context>
    <name>JobChooserDialog</name>
    <message>
        <source>选择要导入的工作参数, 按 &lt; 导入 &gt; .</source>
        <translation>Choose the work parameters to import and press &lt;Import&gt;.</translation>
    </message>
    <message>
        <source>导    入</source>
        <translation>Import</translation>
    </message>
</context>
<context>
    <name>JobDeletionPage</name>
    <message>
        <source>F1.全部选中</source>
        <translation>F1.Mark all</translation>
    </message>
    <message>
        <source>F1.全部取消</source>
        <translation>F1.Clear all</translation>
    </message>
    <message>
        <source>选  中</source>
        <translation>Marked</translation>
    </message>
    <message>
        <source>F2.单个选中</source>
        <translation>F2.Mark one</translation>
    </message>
    <message>
        <source>F3.删除选中</source>
        <translation>F3.Delete</translation>
    </message>
    <message>
        <source>硬盘空间:%1     剩余空间:%2     注: 部分空间为系统使用</source>
        <extracomment>Message line under the title: disk size and free space; fits 540 px.</extracomment>
        <translation>Disk: %1     Free: %2     Note: the system uses part of it</translation>
    </message>
    <message>
        <source>确定要删除选中的文件吗?</source>
        <translation>Delete the marked files?</translation>
    </message>
    <message>
        <source>再次确认要删除选中的文件吗?</source>
        <translation>Really delete the marked files?</translation>
    </message>
    <message>
        <source>正在删除文件, 按&lt; 取消 &gt;键停止删除 !  --- 正在删除 :%1</source>
        <translation>Deleting, press &lt;Cancel&gt; to stop!  --- Deleting: %1</translation>
    </message>
    <message>
        <source>删除文件失败 !</source>
        <translation>Could not delete the file!</translation>
    </message>
</context>
<context>
    <name>JobImportDialog</name>
    <message>
        <source>导     入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>F7. 导入工作参数</source>
        <translation>F7. Work para</translation>
    </message>
    <message>
        <source>F8. 导入运行图片</source>
        <translation>F8. Run picture</translation>
    </message>
    <message>
        <source>正在从网络硬盘下载 ...... %1% (按ESC取消)</source>
        <extracomment>While a job comes from the office&apos;s library: the share done, and the key that stops it.</extracomment>
        <translation>Fetching from the office library ...... %1% (ESC cancels)</translation>
    </message>
    <message>
        <source>正在读取网络硬盘, 请等待 ......</source>
        <translation>Reading the office library, please wait ......</translation>
    </message>
    <message>
        <source>网络硬盘 : %1 个编织文件</source>
        <extracomment>Title line while the office library&apos;s jobs are listed: how many.</extracomment>
        <translation>Office library : %1 jobs</translation>
    </message>
    <message>
        <source>名  称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>版  本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>行  数</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>大  小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时  间</source>
        <translation>Time</translation>
    </message>
</context>
<context>
    <name>JobListView</name>
    <message>
        <source>名  称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>时  间</source>
        <translation>Time</translation>
    </message>
</context>
<context>
    <name>JobSender</name>
    <message>
        <source>上传wrk文件失败 !</source>
        <translation>Sending the .wrk file failed!</translation>
    </message>
    <message>
        <source>上传cnt文件失败 !</source>
        <translation>Sending the .cnt file failed!</translation>
    </message>
    <message>
        <source>上传pat文件失败 !</source>
        <translation>Sending the .pat file failed!</translation>
    </message>
    <message>
        <source>缺少%1 文件,请重新导入 !</source>
        <translation>The %1 file is missing, import it again!</translation>
    </message>
    <message>
        <source>获得配置文件失败 !</source>
        <translation>Fetching the job settings failed!</translation>
    </message>
    <message>
        <source>打开配置文件失败 !</source>
        <translation>Opening the job settings failed!</translation>
    </message>
    <message>
        <source>选择 %1 成功 !</source>
        <extracomment>%1 is the job&apos;s name</extracomment>
        <translation>%1 selected!</translation>
    </message>
    <message>
        <source>机头正在运行, 请先停止运行 !</source>
        <translation>The carriage is running, please stop it first !</translation>
    </message>
    <message>
        <source>上传工作参数失败-2, 请重试 !</source>
        <translation>Sending the work settings failed-2, please retry !</translation>
    </message>
    <message>
        <source>上传工作参数失败-1, 请重试 !</source>
        <translation>Sending the work settings failed-1, please retry !</translation>
    </message>
</context>
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
    <name>LanguageMenu</name>
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
    <name>LibraryFetch</name>
    <message>
        <source>没有网络硬盘设置: 请在 %1 中写入 [library] 段的 url, machine, token (及 cafile)</source>
        <extracomment>F5 without library.ini: where it goes and what it holds.</extracomment>
        <translation>No office library set up: write url, machine and token (and cafile) under [library] in %1</translation>
    </message>
    <message>
        <source>网络硬盘设置错误: %1</source>
        <translation>The office library settings are wrong: %1</translation>
    </message>
    <message>
        <source>已取消网络硬盘下载 !</source>
        <translation>Fetch from the office library cancelled !</translation>
    </message>
    <message>
        <source>网络硬盘设置错误 !</source>
        <translation>The office library settings are wrong !</translation>
    </message>
    <message>
        <source>网络硬盘无法连接或连接中断, 未导入 !</source>
        <translation>The office library cannot be reached or broke off: nothing imported !</translation>
    </message>
    <message>
        <source>网络硬盘的TLS证书验证失败, 未导入 !</source>
        <translation>The office library&apos;s TLS certificate check failed: nothing imported !</translation>
    </message>
    <message>
        <source>网络硬盘拒绝了本机的令牌 !</source>
        <translation>The office library refused this machine&apos;s token !</translation>
    </message>
    <message>
        <source>网络硬盘请求过于频繁, 请稍后再试 !</source>
        <translation>Too many requests to the office library, try again later !</translation>
    </message>
    <message>
        <source>网络硬盘中已没有该版本 !</source>
        <translation>The office library no longer has this version !</translation>
    </message>
    <message>
        <source>网络硬盘文件校验失败, 未导入 !</source>
        <translation>A file from the office library failed its check: nothing imported !</translation>
    </message>
    <message>
        <source>硬盘空间不足或无法写入, 未导入 !</source>
        <translation>The disk is full or cannot be written: nothing imported !</translation>
    </message>
    <message>
        <source>网络硬盘程序运行失败 !</source>
        <translation>The office library helper failed !</translation>
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
    <name>MainScreen</name>
    <message>
        <source>名 称: %1</source>
        <translation>Name: %1</translation>
    </message>
    <message>
        <source>宽 度: %1            长 度: %2</source>
        <extracomment>Job line under the name (230 px): piece width and program rows.</extracomment>
        <translation>Width: %1      Length: %2</translation>
    </message>
    <message>
        <source>没有编织文件, 请先设置编织文件 !</source>
        <translation>No job: choose a job first!</translation>
    </message>
    <message>
        <source>是否执行系统归零 ?</source>
        <translation>Zero the machine?</translation>
    </message>
    <message>
        <source>正在运行, 系统不能归零 !</source>
        <translation>Running: the machine cannot zero!</translation>
    </message>
    <message>
        <source>&lt;&lt; 锁屏</source>
        <translation>&lt;&lt; Lock</translation>
    </message>
    <message>
        <source>点   击   此   处,   取   消   锁   屏   &gt;&gt;</source>
        <extracomment>The whole top line while the screen is locked (620 px).</extracomment>
        <translation>Touch   here   to   unlock   the   screen   &gt;&gt;</translation>
    </message>
    <message>
        <source>衣物宽度: 0 </source>
        <translation>Piece width: 0 </translation>
    </message>
    <message>
        <source>编织时间 : %1 / %2</source>
        <translation>Knitting: %1 / %2</translation>
    </message>
    <message>
        <source>停车时间 : %1 / %2</source>
        <translation>Stopped: %1 / %2</translation>
    </message>
    <message>
        <source>完成件数 : %1 / %2</source>
        <translation>Pieces: %1 / %2</translation>
    </message>
    <message>
        <source>起始针 : %1</source>
        <translation>Start: %1</translation>
    </message>
    <message>
        <source>没有编织文件 , 请先设置编织文件 !</source>
        <translation>No job: choose a job first!</translation>
    </message>
    <message>
        <source>保存系统备份参数失败, 请重试 !</source>
        <translation>Saving the parameter backup failed, try again!</translation>
    </message>
    <message>
        <source>该参数在 编织参数(按键1)-&gt;其它设置 中 !</source>
        <translation>This setting is under Knitting parameters (key 1) -&gt; Other settings!</translation>
    </message>
    <message>
        <source>请输入指定停车行行数</source>
        <translation>Row to stop at</translation>
    </message>
    <message>
        <source>系统正在运行, 不能设置 !</source>
        <translation>The machine is running, cannot set it!</translation>
    </message>
    <message>
        <source>已经锁行,无法进行跳行操作 !</source>
        <translation>The row is locked: cannot skip rows!</translation>
    </message>
    <message>
        <source>系统开始归零, 不能跳行 !</source>
        <translation>Zeroing has started: cannot skip rows!</translation>
    </message>
    <message>
        <source>请输入跳行行数</source>
        <translation>Row to skip to</translation>
    </message>
    <message>
        <source>跳行超过文件总行数</source>
        <translation>Beyond the last row of the program</translation>
    </message>
    <message>
        <source>跳行行数不能为 0 行</source>
        <translation>Cannot skip to row 0</translation>
    </message>
    <message>
        <source>系统正在运行, 不能跳行 !</source>
        <translation>The machine is running, cannot skip rows!</translation>
    </message>
    <message>
        <source>  跳行到 : %1</source>
        <translation>  Skip to: %1</translation>
    </message>
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
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>关机</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>停机原因: %1</source>
        <translation>Stop reason: %1</translation>
    </message>
    <message>
        <source>遥测发件箱写盘失败, 报警和停机记录只在内存中. </source>
        <translation>Telemetry outbox cannot be written to disk: alarms and stops are kept in memory only. </translation>
    </message>
    <message>
        <source>办公室发来新编织文件: %1 v%2</source>
        <extracomment>The message line while the office offers a job version: its name and version.</extracomment>
        <translation>new job from the office: %1 v%2</translation>
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
    <name>MessageSteps</name>
    <message>
        <source>启动拉杆,开始归零. </source>
        <translation>Pull the lever to start zeroing. </translation>
    </message>
    <message>
        <source>系统归零, 请等待. </source>
        <translation>Zeroing, please wait. </translation>
    </message>
    <message>
        <source>启动拉杆,开始跳行归零. </source>
        <translation>Pull the lever to zero for the row skip. </translation>
    </message>
    <message>
        <source>正在跳行归零,请等待. </source>
        <translation>Zeroing for the row skip, please wait. </translation>
    </message>
    <message>
        <source>启动拉杆, 开始跳行. </source>
        <translation>Pull the lever to skip rows. </translation>
    </message>
    <message>
        <source>正在跳行,请等待. </source>
        <translation>Skipping rows, please wait. </translation>
    </message>
</context>
<context>
    <name>MotoGroupView</name>
    <message>
        <source>左 系 统 后 针 床 测 试</source>
        <translation>Left system, back bed</translation>
    </message>
    <message>
        <source>右 系 统 后 针 床 测 试</source>
        <translation>Right system, back bed</translation>
    </message>
    <message>
        <source>左 系 统 前 针 床 测 试</source>
        <translation>Left system, front bed</translation>
    </message>
    <message>
        <source>右 系 统 前 针 床 测 试</source>
        <translation>Right system, front bed</translation>
    </message>
    <message>
        <source>左 导 纱 器 测 试</source>
        <translation>Left yarn guides</translation>
    </message>
    <message>
        <source>右 导 纱 器 测 试</source>
        <translation>Right yarn guides</translation>
    </message>
    <message>
        <source>密度电机1</source>
        <translation>Stitch 1</translation>
    </message>
    <message>
        <source>选针器1</source>
        <translation>Select 1</translation>
    </message>
    <message>
        <source>三角</source>
        <translation>Cams</translation>
    </message>
    <message>
        <source>选针器2</source>
        <translation>Select 2</translation>
    </message>
    <message>
        <source>密度电机2</source>
        <translation>Stitch 2</translation>
    </message>
    <message>
        <source>导纱器</source>
        <translation>Guides</translation>
    </message>
</context>
<context>
    <name>MotoTest</name>
    <message>
        <source>0 = 归  零     1 --- 5 = 单独测试   7 = 归零(全部)   8 = 649(全部)</source>
        <translation>0 = zero   1 --- 5 = one   7 = zero (all)   8 = 649 (all)</translation>
    </message>
    <message>
        <source>0 = 全部测试   1 --- 8 = 单独测试   &lt; 确定 &gt; 键 = 循环测试</source>
        <translation>0 = all   1 --- 8 = one   &lt;Enter&gt; = cycle</translation>
    </message>
    <message>
        <source>0 = 全部测试   1 --- 6 = 单独测试   &lt; 确定 &gt; 键 = 循环测试</source>
        <translation>0 = all   1 --- 6 = one   &lt;Enter&gt; = cycle</translation>
    </message>
</context>
<context>
    <name>PageKeys</name>
    <message>
        <source>上一页</source>
        <extracomment>Narrow upright key, 48 px wide: give the English its own line breaks.</extracomment>
        <translation>Pg
Up</translation>
    </message>
    <message>
        <source>上一个</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下一个</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Pg
Dn</translation>
    </message>
</context>
<context>
    <name>ParamBackupFrame</name>
    <message>
        <source>系统参导入导出数和初始化</source>
        <translation>System parameters: import, export, reset</translation>
    </message>
</context>
<context>
    <name>ParamBackupMenu</name>
    <message>
        <source>机头正在运行, 请停止运行 !</source>
        <translation>The carriage is running, stop it first!</translation>
    </message>
    <message>
        <source>上传系统参数失败, 请重试 !</source>
        <translation>Sending the parameters failed, try again!</translation>
    </message>
    <message>
        <source>1.系统参数初始化</source>
        <translation>1.Reset system parameters</translation>
    </message>
    <message>
        <source>2.从电子盘读入系统参数</source>
        <translation>2.Load parameters from the disk</translation>
    </message>
    <message>
        <source>3.从U盘导入系统参数</source>
        <translation>3.Import parameters from USB</translation>
    </message>
    <message>
        <source>4.系统参数写入到电子盘</source>
        <translation>4.Save parameters to the disk</translation>
    </message>
    <message>
        <source>5.导出系统参数到U盘</source>
        <translation>5.Export parameters to USB</translation>
    </message>
    <message>
        <source>打开系统参数失败, 请重试 !</source>
        <translation>Opening the system parameters failed, try again!</translation>
    </message>
    <message>
        <source>打开系统参数失败 , 请重试 !</source>
        <translation>Opening the system parameters failed, try again!</translation>
    </message>
    <message>
        <source>确定要初始化系统参数吗?</source>
        <translation>Reset the system parameters?</translation>
    </message>
    <message>
        <source>系统参数初始化成功 !</source>
        <translation>System parameters reset!</translation>
    </message>
    <message>
        <source>确定要从电子盘读入系统参数吗?</source>
        <translation>Load the system parameters from the disk?</translation>
    </message>
    <message>
        <source>从电子盘读入系统参数成功 !</source>
        <translation>System parameters loaded from the disk!</translation>
    </message>
    <message>
        <source>从U盘导入系统参数 ... ...</source>
        <translation>Import system parameters from USB ... ...</translation>
    </message>
    <message>
        <source>从U盘导入系统参数成功 !</source>
        <translation>System parameters imported from USB!</translation>
    </message>
    <message>
        <source>确定要将系统参数写入到从电子盘吗?</source>
        <translation>Save the system parameters to the disk?</translation>
    </message>
    <message>
        <source> 系统参数写入到从电子盘读入成功 !</source>
        <translation> System parameters saved to the disk!</translation>
    </message>
    <message>
        <source>输入系统参数名称( 0 - 9的数字 )</source>
        <translation>Name of the parameter file (digits 0 - 9)</translation>
    </message>
    <message>
        <source>导出系统参数到U盘 ... ...</source>
        <translation>Export system parameters to USB ... ...</translation>
    </message>
</context>
<context>
    <name>ParamCell</name>
    <message>
        <source>参数设置范围 : 1 - 100</source>
        <translation>Range : 1 - 100</translation>
    </message>
    <message>
        <source>花板起始针</source>
        <translation>Pattern start needle</translation>
    </message>
    <message>
        <source>参数设置范围 : 1 - </source>
        <translation>Range : 1 - </translation>
    </message>
    <message>
        <source>件数设定</source>
        <translation>Pieces to knit</translation>
    </message>
    <message>
        <source>参数设置范围 : 1 - 50000</source>
        <translation>Range : 1 - 50000</translation>
    </message>
    <message>
        <source>完成件数清零</source>
        <translation>Clear pieces done</translation>
    </message>
    <message>
        <source>按 &lt; 确定 &gt; 键, 清零已经完成的件数.</source>
        <translation>Press &lt; Enter &gt; to clear the pieces done.</translation>
    </message>
    <message>
        <source>自动归零件数</source>
        <translation>Pieces per auto reset</translation>
    </message>
    <message>
        <source>针撞击灵敏度</source>
        <translation>Needle crash sensitivity</translation>
    </message>
    <message>
        <source>针撞击使能</source>
        <translation>Needle crash detection</translation>
    </message>
    <message>
        <source>1 = 打开撞针使能, 2 = 关闭撞针使能.</source>
        <translation>1 = needle crash detection on, 2 = off.</translation>
    </message>
    <message>
        <source>主罗拉停车力矩</source>
        <translation>Main roller stop torque</translation>
    </message>
    <message>
        <source>机头加减速类型</source>
        <translation>Carriage ramp type</translation>
    </message>
    <message>
        <source>参数设置范围 : 1 - 8</source>
        <translation>Range : 1 - 8</translation>
    </message>
    <message>
        <source>机头回转距离</source>
        <translation>Carriage return distance</translation>
    </message>
    <message>
        <source>参数设置范围 : 5 - 50 </source>
        <translation>Range : 5 - 50 </translation>
    </message>
    <message>
        <source>加速比例</source>
        <translation>Acc. P</translation>
    </message>
    <message>
        <source>加速积分</source>
        <translation>Acc. I</translation>
    </message>
    <message>
        <source>加速微分</source>
        <translation>Acc. D</translation>
    </message>
    <message>
        <source>减速比例</source>
        <translation>Dec. P</translation>
    </message>
    <message>
        <source>减速积分</source>
        <translation>Dec. I</translation>
    </message>
    <message>
        <source>减速微分</source>
        <translation>Dec. D</translation>
    </message>
    <message>
        <source>参数范围 : 0 ~ 60000</source>
        <translation>Range : 0 ~ 60000</translation>
    </message>
    <message>
        <source>对   齐</source>
        <translation>Aligned</translation>
    </message>
    <message>
        <source>交   叉</source>
        <translation>Crossed</translation>
    </message>
    <message>
        <source>翻   针</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>对 齐  </source>
        <translation>Aligned  </translation>
    </message>
    <message>
        <source>交 叉  </source>
        <translation>Crossed  </translation>
    </message>
    <message>
        <source>翻 针  </source>
        <translation>Transfer  </translation>
    </message>
    <message>
        <source>[ 摇床位置修正说明 ] : 按&lt; 确定 &gt;, 进入摇床修正对话框 . 按&lt; M &gt;, 摇床位置修正整组修改 .</source>
        <translation>[ Racking correction ] : &lt; Enter &gt; corrects this position. &lt; M &gt; sets the whole column.</translation>
    </message>
    <message>
        <source>前.I</source>
        <translation>Fr.I</translation>
    </message>
    <message>
        <source>第 %1  组</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <source>前II</source>
        <translation>FrII</translation>
    </message>
    <message>
        <source>后.I</source>
        <translation>Bk.I</translation>
    </message>
    <message>
        <source>后II</source>
        <translation>BkII</translation>
    </message>
    <message>
        <source>单     面</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>四     平</source>
        <translation>Double</translation>
    </message>
    <message>
        <source>参数范围 : 0 ~ 350</source>
        <translation>Range : 0 ~ 350</translation>
    </message>
    <message>
        <source>针零位</source>
        <translation>Needle zero</translation>
    </message>
    <message>
        <source>机头移动到零位,按确定键.</source>
        <translation>Move the carriage to zero, press Enter.</translation>
    </message>
    <message>
        <source>设置针零位为: %1</source>
        <translation>Set needle zero to: %1</translation>
    </message>
    <message>
        <source>左系统纱嘴右行零位</source>
        <translation>L sys. carrier zero &gt;</translation>
    </message>
    <message>
        <source>机头移动到左系统纱嘴右行零位,按&lt;确定&gt;键.</source>
        <translation>Move the carriage to the left system&apos;s carrier zero, running right; press &lt;Enter&gt;.</translation>
    </message>
    <message>
        <source>设置左系统纱嘴右行零位为: %1</source>
        <translation>Set left system carrier zero, running right, to: %1</translation>
    </message>
    <message>
        <source>左系统纱嘴左行零位</source>
        <translation>L sys. carrier zero &lt;</translation>
    </message>
    <message>
        <source>机头移动到左系统纱嘴左行零位,按&lt;确定&gt;键.</source>
        <translation>Move the carriage to the left system&apos;s carrier zero, running left; press &lt;Enter&gt;.</translation>
    </message>
    <message>
        <source>设置左系统纱嘴左行零位为: %1</source>
        <translation>Set left system carrier zero, running left, to: %1</translation>
    </message>
    <message>
        <source>右系统纱嘴右行零位</source>
        <translation>R sys. carrier zero &gt;</translation>
    </message>
    <message>
        <source>机头移动到右系统纱嘴右行零位,按&lt;确定&gt;键.</source>
        <translation>Move the carriage to the right system&apos;s carrier zero, running right; press &lt;Enter&gt;.</translation>
    </message>
    <message>
        <source>设置右系统纱嘴右行零位为: %1</source>
        <translation>Set right system carrier zero, running right, to: %1</translation>
    </message>
    <message>
        <source>右系统纱嘴左行零位</source>
        <translation>R sys. carrier zero &lt;</translation>
    </message>
    <message>
        <source>机头移动到右系统纱嘴左行零位,按&lt;确定&gt;键.</source>
        <translation>Move the carriage to the right system&apos;s carrier zero, running left; press &lt;Enter&gt;.</translation>
    </message>
    <message>
        <source>设置右系统纱嘴左行零位为: %1</source>
        <translation>Set right system carrier zero, running left, to: %1</translation>
    </message>
    <message>
        <source>机头右限位</source>
        <translation>Carriage right limit</translation>
    </message>
    <message>
        <source>机头移动到机头右限位,按&lt;确定&gt;键.</source>
        <translation>Move the carriage to its right limit, press &lt;Enter&gt;.</translation>
    </message>
    <message>
        <source>设置机头右限位为: %1</source>
        <translation>Set carriage right limit to: %1</translation>
    </message>
    <message>
        <source>机头左限位</source>
        <translation>Carriage left limit</translation>
    </message>
    <message>
        <source>机头移动到机头左限位,按&lt;确定&gt;键.</source>
        <translation>Move the carriage to its left limit, press &lt;Enter&gt;.</translation>
    </message>
    <message>
        <source>设置机头左限位为: %1</source>
        <translation>Set carriage left limit to: %1</translation>
    </message>
    <message>
        <source>同步带齿距校正</source>
        <translation>Belt pitch calibration</translation>
    </message>
    <message>
        <source>先移动机头到针板左边,按&lt; M &gt;键 , 再移动机头到针板右边,按&lt; 确定 &gt;键.</source>
        <translation>Move the carriage to the bed&apos;s left end, press &lt; M &gt;; then to its right end, press &lt; Enter &gt;.</translation>
    </message>
    <message>
        <source>设置同步带齿距校正为: %1</source>
        <translation>Set belt pitch calibration to: %1</translation>
    </message>
    <message>
        <source>选针器右补偿</source>
        <translation>Selector right offset</translation>
    </message>
    <message>
        <source>参数范围 : -10 ~ 10</source>
        <translation>Range : -10 ~ 10</translation>
    </message>
    <message>
        <source>选针器左补偿</source>
        <translation>Selector left offset</translation>
    </message>
    <message>
        <source>纱嘴下落提前量</source>
        <translation>Carrier drop lead</translation>
    </message>
    <message>
        <source>参数范围:1 ~ 100</source>
        <translation>Range:1 ~ 100</translation>
    </message>
    <message>
        <source>纱嘴抬起提前量</source>
        <translation>Carrier lift lead</translation>
    </message>
    <message>
        <source>参数范围:1 ~ 20</source>
        <translation>Range:1 ~ 20</translation>
    </message>
    <message>
        <source>电磁铁高压</source>
        <translation>Magnet high voltage</translation>
    </message>
    <message>
        <source>参数范围:2 ~ 10</source>
        <translation>Range:2 ~ 10</translation>
    </message>
    <message>
        <source>选针器高压</source>
        <translation>Selector high volt.</translation>
    </message>
    <message>
        <source>选针器低压</source>
        <translation>Selector low volt.</translation>
    </message>
    <message>
        <source>密度电机复位速度</source>
        <translation>Stitch motor reset</translation>
    </message>
    <message>
        <source>密度电机最高复位速度</source>
        <translation>Stitch reset max</translation>
    </message>
    <message>
        <source>参数范围:1 ~ 10</source>
        <translation>Range:1 ~ 10</translation>
    </message>
    <message>
        <source>生克有效</source>
        <translation>Sinkers active</translation>
    </message>
    <message>
        <source>1 = 打开, 2 = 关闭</source>
        <translation>1 = On, 2 = Off</translation>
    </message>
    <message>
        <source>选针器停止关闭时间</source>
        <translation>Selector off delay</translation>
    </message>
    <message>
        <source>选针器重选节能使能</source>
        <translation>Selector power save</translation>
    </message>
    <message>
        <source>摇床丝杆修正</source>
        <translation>Racking screw corr.</translation>
    </message>
    <message>
        <source>参数范围:  0 ~ 500</source>
        <translation>Range:  0 ~ 500</translation>
    </message>
    <message>
        <source>摇床速度设置(普通)</source>
        <translation>Racking speed (norm)</translation>
    </message>
    <message>
        <source>参数范围:  0   ~ 100</source>
        <translation>Range:  0   ~ 100</translation>
    </message>
    <message>
        <source>摇床速度设置( 高 )</source>
        <translation>Racking speed (high)</translation>
    </message>
    <message>
        <source>摇床速度设置( 低 )</source>
        <translation>Racking speed (low)</translation>
    </message>
    <message>
        <source>系统锁定设置</source>
        <translation>System lock</translation>
    </message>
    <message>
        <source>1 = 左系统, 2 = 右系统, 0 = 不锁定</source>
        <translation>1 = Left, 2 = Right, 0 = None</translation>
    </message>
    <message>
        <source>主编码器输出线数</source>
        <translation>Main encoder lines</translation>
    </message>
    <message>
        <source>参数范围:  100   ~ 10000</source>
        <translation>Range:  100   ~ 10000</translation>
    </message>
    <message>
        <source>移床编码器输出线数</source>
        <translation>Racking encoder lines</translation>
    </message>
    <message>
        <source>每英寸针数</source>
        <translation>Needles per inch</translation>
    </message>
    <message>
        <source>参数范围:  1   ~ 20</source>
        <translation>Range:  1   ~ 20</translation>
    </message>
    <message>
        <source>针板总针数</source>
        <translation>Needles on the bed</translation>
    </message>
    <message>
        <source>参数范围:  1   ~ 1500</source>
        <translation>Range:  1   ~ 1500</translation>
    </message>
    <message>
        <source>密度参数默认组</source>
        <translation>Default stitch group</translation>
    </message>
    <message>
        <source>参数范围:  0   ~ 24</source>
        <translation>Range:  0   ~ 24</translation>
    </message>
    <message>
        <source>参数范围: 1 - 1000 </source>
        <translation>Range: 1 - 1000 </translation>
    </message>
    <message>
        <source>参数范围: 1 - </source>
        <translation>Range: 1 - </translation>
    </message>
    <message>
        <source>主马达高速</source>
        <translation>Main motor high speed</translation>
    </message>
    <message>
        <source>参数范围: 20 - 100</source>
        <translation>Range: 20 - 100</translation>
    </message>
    <message>
        <source>主马达限制速度</source>
        <translation>Main motor speed limit</translation>
    </message>
    <message>
        <source>参数范围: 20 - 60</source>
        <translation>Range: 20 - 60</translation>
    </message>
    <message>
        <source>主马达低速</source>
        <translation>Main motor low speed</translation>
    </message>
    <message>
        <source>参数范围: 5 - 50</source>
        <translation>Range: 5 - 50</translation>
    </message>
    <message>
        <source>主马达复位速度</source>
        <translation>Main motor reset speed</translation>
    </message>
    <message>
        <source>参数范围: 5 - 15</source>
        <translation>Range: 5 - 15</translation>
    </message>
    <message>
        <source>主马达最高速度</source>
        <translation>Main motor top speed</translation>
    </message>
    <message>
        <source>参数范围: 0 - 1200 </source>
        <translation>Range: 0 - 1200 </translation>
    </message>
    <message>
        <source>参数范围: 1 - 100</source>
        <translation>Range: 1 - 100</translation>
    </message>
    <message>
        <source>参数范围: 1 - 8</source>
        <translation>Range: 1 - 8</translation>
    </message>
    <message>
        <source>参数范围: 5 - 50 </source>
        <translation>Range: 5 - 50 </translation>
    </message>
    <message>
        <source>后沉降片复位</source>
        <translation>Back sinker reset</translation>
    </message>
    <message>
        <source>后沉降片左行翻针位</source>
        <translation>Back sinker transfer &lt;</translation>
    </message>
    <message>
        <source>后沉降片右行翻针位</source>
        <translation>Back sinker transfer &gt;</translation>
    </message>
    <message>
        <source>后沉降片编织左行位</source>
        <translation>Back sinker knitting &lt;</translation>
    </message>
    <message>
        <source>后沉降片编织右行位</source>
        <translation>Back sinker knitting &gt;</translation>
    </message>
    <message>
        <source>前沉降片复位</source>
        <translation>Front sinker reset</translation>
    </message>
    <message>
        <source>前沉降片左行翻针位</source>
        <translation>Front sinker transfer &lt;</translation>
    </message>
    <message>
        <source>前沉降片右行翻针位</source>
        <translation>Front sinker transfer &gt;</translation>
    </message>
    <message>
        <source>前沉降片编织左行位</source>
        <translation>Front sinker knitting &lt;</translation>
    </message>
    <message>
        <source>前沉降片编织右行位</source>
        <translation>Front sinker knitting &gt;</translation>
    </message>
    <message>
        <source>密度电机归零方式</source>
        <translation>Stitch motor homing</translation>
    </message>
    <message>
        <source>参数范围: 0 - 64 </source>
        <translation>Range: 0 - 64 </translation>
    </message>
    <message>
        <source>左右安全门使能</source>
        <translation>Safety doors</translation>
    </message>
    <message>
        <source>机头速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>左 行</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右 行</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>参数范围 : -30 ~ 30</source>
        <translation>Range : -30 ~ 30</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 999 mm</source>
        <translation>Range: 1 ~ 999 mm</translation>
    </message>
    <message>
        <source>机头宽度</source>
        <translation>Carriage width</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 999  mm</source>
        <translation>Range: 1 ~ 999  mm</translation>
    </message>
    <message>
        <source>第1选针器左边沿与第2选针器左边沿间距</source>
        <translation>Selector 1 to 2, left edges</translation>
    </message>
    <message>
        <source>第1选针器左边沿与第3选针器左边沿间距</source>
        <translation>Selector 1 to 3, left edges</translation>
    </message>
    <message>
        <source>第1选针器左边沿与第4选针器左边沿间距</source>
        <translation>Selector 1 to 4, left edges</translation>
    </message>
    <message>
        <source>第1选针器左边沿与机头左边沿间距</source>
        <translation>Selector 1 to carriage, left edges</translation>
    </message>
    <message>
        <source>选针器宽度</source>
        <translation>Selector width</translation>
    </message>
    <message>
        <source>第1选针器中心点与机头左边沿间距</source>
        <translation>Selector 1 centre to carriage left</translation>
    </message>
    <message>
        <source>主伺服脉冲当量</source>
        <translation>Main servo pulses</translation>
    </message>
    <message>
        <source>参数范围: 2000 ~ 20000 mm</source>
        <translation>Range: 2000 ~ 20000 mm</translation>
    </message>
    <message>
        <source>移床伺服脉冲当量</source>
        <translation>Racking servo pulses</translation>
    </message>
    <message>
        <source>移床伺服齿轮比分子</source>
        <translation>Racking gear numerator</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 65535 mm</source>
        <translation>Range: 1 ~ 65535 mm</translation>
    </message>
    <message>
        <source>移床伺服齿轮比分母</source>
        <translation>Racking gear denominator</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 65535</source>
        <translation>Range: 1 ~ 65535</translation>
    </message>
    <message>
        <source>移床最大水平速度</source>
        <translation>Racking top speed</translation>
    </message>
    <message>
        <source>参数范围: 100 ~ 500</source>
        <translation>Range: 100 ~ 500</translation>
    </message>
    <message>
        <source>移床丝杆轴齿数</source>
        <translation>Racking screw teeth</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 50</source>
        <translation>Range: 1 ~ 50</translation>
    </message>
    <message>
        <source>移床电机轴齿数</source>
        <translation>Racking motor teeth</translation>
    </message>
    <message>
        <source>移床丝杆步进值</source>
        <translation>Racking screw step</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 20000</source>
        <translation>Range: 1 ~ 20000</translation>
    </message>
    <message>
        <source>罗拉力矩电机最大导通角</source>
        <translation>Roller motor max angle</translation>
    </message>
    <message>
        <source>参数范围: 8000 ~ 15000</source>
        <translation>Range: 8000 ~ 15000</translation>
    </message>
    <message>
        <source>罗拉力矩电机最小导通角</source>
        <translation>Roller motor min angle</translation>
    </message>
    <message>
        <source>参数范围: 0 ~ 8000</source>
        <translation>Range: 0 ~ 8000</translation>
    </message>
    <message>
        <source>一体罗拉最大驱动频率</source>
        <translation>Roller max drive rate</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 25000</source>
        <translation>Range: 1 ~ 25000</translation>
    </message>
    <message>
        <source>力矩电机使能</source>
        <translation>Torque motor</translation>
    </message>
    <message>
        <source>选针器类型</source>
        <translation>Selector type</translation>
    </message>
    <message>
        <source>1 = 单向, 2 = 双向</source>
        <translation>1 = 1-way, 2 = 2-way</translation>
    </message>
    <message>
        <source>选针器保护</source>
        <translation>Selector protection</translation>
    </message>
    <message>
        <source>选针器刀片数</source>
        <translation>Selector blades</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 8</source>
        <translation>Range: 1 ~ 8</translation>
    </message>
    <message>
        <source>摇床类型</source>
        <translation>Racking type</translation>
    </message>
    <message>
        <source>1 = 后摇, 2 = 前摇</source>
        <translation>1 = Rear, 2 = Front</translation>
    </message>
    <message>
        <source>底版类型</source>
        <translation>Base plate type</translation>
    </message>
    <message>
        <source>1 = K型, 2 = L型</source>
        <translation>1 = K type, 2 = L type</translation>
    </message>
    <message>
        <source>二段密度三角使能</source>
        <translation>Two-step stitch cam</translation>
    </message>
    <message>
        <source>主板选择</source>
        <translation>Main board</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 10</source>
        <translation>Range: 1 ~ 10</translation>
    </message>
    <message>
        <source>行动作滞后针位</source>
        <translation>Row action delay</translation>
    </message>
    <message>
        <source>参数范围: 1 ~ 20</source>
        <translation>Range: 1 ~ 20</translation>
    </message>
    <message>
        <source>主轴最大过冲</source>
        <translation>Main axis overshoot</translation>
    </message>
    <message>
        <source>参数范围: 8 ~ 50</source>
        <translation>Range: 8 ~ 50</translation>
    </message>
    <message>
        <source>最小换向时间</source>
        <translation>Min. reversal time</translation>
    </message>
    <message>
        <source>参数范围: 0 ~ 50000</source>
        <translation>Range: 0 ~ 50000</translation>
    </message>
</context>
<context>
    <name>ParamFrame</name>
    <message>
        <source>系  统  参  数</source>
        <translation>System parameters</translation>
    </message>
    <message>
        <source>工  作  参  数</source>
        <translation>Work parameters</translation>
    </message>
    <message>
        <source>常用参数设置</source>
        <translation>Running parameters</translation>
    </message>
    <message>
        <source>摇床位置修正</source>
        <translation>Racking position correction</translation>
    </message>
    <message>
        <source>密 度 电 机 修 正</source>
        <translation>Density motor correction</translation>
    </message>
    <message>
        <source>不 工 作 密 度</source>
        <translation>Idle density</translation>
    </message>
    <message>
        <source>机头加减速类型</source>
        <translation>Carriage acceleration types</translation>
    </message>
    <message>
        <source>机器个性化参数设置</source>
        <translation>Machine personalisation</translation>
    </message>
    <message>
        <source>纱嘴停放与机头速度对照表</source>
        <translation>Carrier parking by carriage speed</translation>
    </message>
</context>
<context>
    <name>ParamKeys</name>
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
    <name>ParamMessages</name>
    <message>
        <source>参数范围不正确, 请查看参数范围 !</source>
        <translation>Value out of range, see the range !</translation>
    </message>
    <message>
        <source>参数设置失败, 请重试 !</source>
        <translation>Setting failed, please retry !</translation>
    </message>
    <message>
        <source>参数设置失败, 请检查网络 !</source>
        <translation>Setting failed, check the network !</translation>
    </message>
    <message>
        <source>机头正在运行, 不能设置 !</source>
        <translation>The carriage is running, cannot set !</translation>
    </message>
    <message>
        <source>该参数修改需要密码, 请输入密码: </source>
        <translation>This setting needs a password: </translation>
    </message>
</context>
<context>
    <name>ParamRepairMenu</name>
    <message>
        <source>(  需修复  )</source>
        <translation> (to repair)</translation>
    </message>
    <message>
        <source>1.更换显示屏时系统参数修复</source>
        <translation>1.New panel: system parameters</translation>
    </message>
    <message>
        <source>2.更换主板时系统参数修复</source>
        <translation>2.New main board: system parameters</translation>
    </message>
    <message>
        <source>3.更换显示屏时个性化参数修复</source>
        <translation>3.New panel: personalisation</translation>
    </message>
    <message>
        <source>4.更换主板时个性化参数修复</source>
        <translation>4.New main board: personalisation</translation>
    </message>
    <message>
        <source>H.关闭控制器</source>
        <translation>H.Shut the controller down</translation>
    </message>
    <message>
        <source>更换系统硬件时, 系统参数和个性化参数修复 .</source>
        <translation>After new hardware, repair the system and personalisation parameters .</translation>
    </message>
    <message>
        <source>机头正在运行, 请停止运行 !</source>
        <translation>The carriage is running, please stop it !</translation>
    </message>
    <message>
        <source>确定要关闭控制系统吗 ?</source>
        <translation>Shut the control system down ?</translation>
    </message>
    <message>
        <source>机头正在运行, 不能关机 ! </source>
        <translation>The carriage is running, cannot shut down ! </translation>
    </message>
    <message>
        <source>正在关机, 请稍等 ... ... </source>
        <translation>Shutting down, please wait ... ... </translation>
    </message>
    <message>
        <source>不能关机, 请检查主控制器 !</source>
        <translation>Cannot shut down, check the main controller !</translation>
    </message>
    <message>
        <source>确定要把当前的系统参数存入显示屏备份吗?</source>
        <translation>Store the present system parameters as the panel&apos;s backup?</translation>
    </message>
    <message>
        <source>把当前的系统参数存入显示屏备份成功 !</source>
        <translation>The system parameters are stored as the panel&apos;s backup !</translation>
    </message>
    <message>
        <source>打开系统备份参数失败 , 请重试 !</source>
        <translation>Could not store the backup parameters, try again !</translation>
    </message>
    <message>
        <source>确定要显示屏备份的系统参数导到主板吗?</source>
        <translation>Send the panel&apos;s backup of the system parameters to the main board?</translation>
    </message>
    <message>
        <source>把显示屏备份的系统参数导到主板成功 !</source>
        <translation>The panel&apos;s backup of the system parameters is on the main board !</translation>
    </message>
    <message>
        <source>上传系统参数失败, 请重试 !</source>
        <translation>Sending the parameters failed, try again !</translation>
    </message>
    <message>
        <source>确定要把当前的系统参数存入显示屏个性化参数备份吗?</source>
        <translation>Store the present personalisation as the panel&apos;s backup?</translation>
    </message>
    <message>
        <source>把当前的个性化参数存入显示屏个性化参数备份成功 !</source>
        <translation>The personalisation is stored as the panel&apos;s backup !</translation>
    </message>
    <message>
        <source>确定要显示屏备份的个性化参数导到主板吗?</source>
        <translation>Send the panel&apos;s backup of the personalisation to the main board?</translation>
    </message>
    <message>
        <source>把显示屏备份的个性化参数导到主板成功 !</source>
        <translation>The panel&apos;s backup of the personalisation is on the main board !</translation>
    </message>
    <message>
        <source>按&lt;取消&gt;将进入主界面, 按&lt;确定&gt;将关闭控制器 .</source>
        <translation>&lt;Cancel&gt; goes to the main screen, &lt;OK&gt; shuts the controller down .</translation>
    </message>
</context>
<context>
    <name>PatEdit</name>
    <message>
        <source>F1.查找行</source>
        <translation>F1.Find row</translation>
    </message>
    <message>
        <source>F2.查找列</source>
        <translation>F2.Find col.</translation>
    </message>
    <message>
        <source>M.整行修改</source>
        <translation>M.Whole row</translation>
    </message>
    <message>
        <source>确  定</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>左翻页</source>
        <translation>Page left</translation>
    </message>
    <message>
        <source>右翻页</source>
        <translation>Page right</translation>
    </message>
    <message>
        <source>上翻页</source>
        <translation>Page up</translation>
    </message>
    <message>
        <source>下翻页</source>
        <translation>Page down</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>打开文件失败, 请重试 !</source>
        <translation>Opening the file failed, please retry !</translation>
    </message>
    <message>
        <source>编织衣物花样文件浏览工具 - %1     行 %2 , 列 %3</source>
        <translation>Pattern viewer - %1     Row %2 , Col. %3</translation>
    </message>
    <message>
        <source>请输入行数</source>
        <translation>Enter the row number</translation>
    </message>
    <message>
        <source>请输入列数</source>
        <translation>Enter the column number</translation>
    </message>
    <message>
        <source>确定要整组修改当前数值吗?</source>
        <translation>Set the whole row to this value?</translation>
    </message>
    <message>
        <source>保存花样文件失败 , 请重试 !</source>
        <translation>Saving the pattern failed , please retry !</translation>
    </message>
    <message>
        <source>是否放弃修改 ?</source>
        <translation>Discard the changes ?</translation>
    </message>
</context>
<context>
    <name>PatFile</name>
    <message>
        <source>pat文件读取失败 !</source>
        <translation>Cannot read the .pat file!</translation>
    </message>
    <message>
        <source>pat文件大于2M !</source>
        <translation>The .pat file is larger than 2 MB!</translation>
    </message>
    <message>
        <source>pat文件格式错误 !</source>
        <translation>The .pat file&apos;s format is wrong!</translation>
    </message>
    <message>
        <source>pat花板宽度大于1024 !</source>
        <translation>The pattern is wider than 1024!</translation>
    </message>
    <message>
        <source>pat花板宽度为0 !</source>
        <translation>The pattern&apos;s width is 0!</translation>
    </message>
    <message>
        <source>pat花板高度小于3 !</source>
        <translation>The pattern is lower than 3!</translation>
    </message>
    <message>
        <source>pat花板高度于文件不对应 !</source>
        <translation>The pattern&apos;s height does not match the file!</translation>
    </message>
    <message>
        <source>pat文件没有校验码 !</source>
        <translation>The .pat file has no checksum!</translation>
    </message>
    <message>
        <source>pat文件校验码错误 !</source>
        <translation>The .pat file&apos;s checksum is wrong!</translation>
    </message>
</context>
<context>
    <name>PatStore</name>
    <message>
        <source>花样文件修改失败1 , 请重试 !</source>
        <translation>Changing the pattern failed (1), try again!</translation>
    </message>
    <message>
        <source>花样文件修改失败2 , 请重试 !</source>
        <translation>Changing the pattern failed (2), try again!</translation>
    </message>
</context>
<context>
    <name>PersonalisationPage</name>
    <message>
        <source>F1. 导入个性化参数</source>
        <translation>F1. Import machine settings</translation>
    </message>
    <message>
        <source>F2. 导出个性化参数</source>
        <translation>F2. Export machine settings</translation>
    </message>
    <message>
        <source>读取个性化参数文件失败, 请重试 !</source>
        <translation>Reading the machine settings failed, please retry !</translation>
    </message>
    <message>
        <source>打开个性化参数文件失败 !</source>
        <translation>Opening the machine settings failed !</translation>
    </message>
    <message>
        <source>密码错误, 无法修改此参数 !</source>
        <translation>Wrong password, this setting stays !</translation>
    </message>
    <message>
        <source>保存个性化备份参数失败, 请重试 !</source>
        <translation>Saving the machine settings backup failed, please retry !</translation>
    </message>
    <message>
        <source>机器个性化参数导入 ... ...</source>
        <translation>Importing machine settings ... ...</translation>
    </message>
    <message>
        <source>机器个性化参数导入失败, 请重试 !</source>
        <translation>Importing machine settings failed, please retry !</translation>
    </message>
    <message>
        <source>复制系统校验文件失败, 将使用显示模块中的系统参数 !</source>
        <translation>Copying the system check file failed; the panel&apos;s system settings are used !</translation>
    </message>
    <message>
        <source>机器个性化参数导入完成, 请重新启动 !</source>
        <translation>Machine settings imported, please restart !</translation>
    </message>
    <message>
        <source>机器个性化参数导出失败, 请重试 !</source>
        <translation>Exporting machine settings failed, please retry !</translation>
    </message>
    <message>
        <source>导出个性化参数到U盘 ... ...</source>
        <translation>Exporting machine settings to USB ... ...</translation>
    </message>
</context>
<context>
    <name>PieceExpansionPage</name>
    <message>
        <source>花板起始针</source>
        <translation>Start needle</translation>
    </message>
    <message>
        <source>展开片数</source>
        <translation>Pieces</translation>
    </message>
    <message>
        <source>展开间距</source>
        <translation>Spacing</translation>
    </message>
    <message>
        <source>使能</source>
        <translation>On</translation>
    </message>
    <message>
        <source>按&lt; 确定 &gt;, 打开使能 .</source>
        <translation>Press &lt; Enter &gt; to switch it on .</translation>
    </message>
    <message>
        <source>参数范围 : 1 ~ %1</source>
        <translation>Range : 1 ~ %1</translation>
    </message>
    <message>
        <source>衣片总宽度超过针床宽度 !</source>
        <translation>The pieces are wider than the needle bed !</translation>
    </message>
</context>
<context>
    <name>PieceLayoutPreview</name>
    <message>
        <source>衣片分布预览</source>
        <translation>Piece layout preview</translation>
    </message>
</context>
<context>
    <name>ProgramEditorKeys</name>
    <message>
        <source>确   定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QuestionDialog</name>
    <message>
        <source>取  消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>RackingCorrectionPage</name>
    <message>
        <source>E.开始摇床位置校正</source>
        <translation>E.Correct racking</translation>
    </message>
    <message>
        <source>M.摇床位置整组修改</source>
        <translation>M.Set whole column</translation>
    </message>
    <message>
        <source>摇床未移到指定位置, 请重试 !</source>
        <translation>The bed did not reach the position, please retry !</translation>
    </message>
    <message>
        <source>是否整组修改该组参数 ?</source>
        <translation>Set the whole column to this value ?</translation>
    </message>
    <message>
        <source>粗调参数错误 !</source>
        <translation>Coarse value wrong !</translation>
    </message>
    <message>
        <source>粗调参数超出范围 !</source>
        <translation>Coarse value out of range !</translation>
    </message>
    <message>
        <source>细调参数错误 !</source>
        <translation>Fine value wrong !</translation>
    </message>
    <message>
        <source>细调参数超出范围 !</source>
        <translation>Fine value out of range !</translation>
    </message>
</context>
<context>
    <name>RackingPositionDialog</name>
    <message>
        <source>粗调范围 : -99  -  99   微调范围 : 0  -  9  </source>
        <translation>Coarse : -99  -  99   Fine : 0  -  9  </translation>
    </message>
    <message>
        <source>粗调值</source>
        <translation>Coarse</translation>
    </message>
    <message>
        <source>微调值</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>粗调值 +1</source>
        <translation>Coarse +1</translation>
    </message>
    <message>
        <source>粗调值 -1</source>
        <translation>Coarse -1</translation>
    </message>
    <message>
        <source>参数设置失败,通信错误 !</source>
        <translation>Setting failed, no answer !</translation>
    </message>
</context>
<context>
    <name>RowCodecAction</name>
    <message>
        <source>翻针</source>
        <translation>Xfer</translation>
    </message>
    <message>
        <source>编织</source>
        <translation>Knit</translation>
    </message>
    <message>
        <source>接针</source>
        <translation>Recv</translation>
    </message>
    <message>
        <source>集圈</source>
        <translation>Tuck</translation>
    </message>
</context>
<context>
    <name>RowDisplay</name>
    <message>
        <source>密  度</source>
        <translation>Stitch</translation>
    </message>
    <message>
        <source>花板行</source>
        <translation>Pat. row</translation>
    </message>
    <message>
        <source>摇 床 位</source>
        <translation>Racking</translation>
    </message>
    <message>
        <source>主 罗 拉</source>
        <translation>Roller</translation>
    </message>
    <message>
        <source>辅助罗拉</source>
        <translation>Aux rol.</translation>
    </message>
    <message>
        <source>开合罗拉</source>
        <translation>Open rol.</translation>
    </message>
    <message>
        <source>开 始 行</source>
        <translation>First row</translation>
    </message>
    <message>
        <source>结 束 行</source>
        <translation>Last row</translation>
    </message>
    <message>
        <source>循环次数</source>
        <translation>Repeats</translation>
    </message>
    <message>
        <source>剩余次数</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>纱嘴停放</source>
        <translation>Parking</translation>
    </message>
    <message>
        <source>纱  嘴</source>
        <translation>Carriers</translation>
    </message>
    <message>
        <source>速 度: </source>
        <translation>Speed: </translation>
    </message>
    <message>
        <source>速度:%1</source>
        <extracomment>The speed field under the block panel (80 px): &quot;速度:0.48 m/s&quot;.</extracomment>
        <translation>Sp:%1</translation>
    </message>
</context>
<context>
    <name>ShutdownDialog</name>
    <message>
        <source>确定要关闭控制系统吗 ?</source>
        <translation>Shut the control system down?</translation>
    </message>
    <message>
        <source>正在关机, 请稍等 ... ... </source>
        <translation>Shutting down, please wait ... ... </translation>
    </message>
    <message>
        <source>不能关机, 请检查主控制器 !</source>
        <translation>Cannot shut down, check the main controller!</translation>
    </message>
    <message>
        <source>机头正在运行, 不能关机 ! </source>
        <translation>The carriage is running, cannot shut down! </translation>
    </message>
</context>
<context>
    <name>SinglePieceCarrierPage</name>
    <message>
        <source>M. 是否打开纱嘴替换功能</source>
        <translation>M. Carrier replacement on</translation>
    </message>
</context>
<context>
    <name>SoftwareUpdateFrame</name>
    <message>
        <source>控制器系统升级</source>
        <translation>Software update</translation>
    </message>
</context>
<context>
    <name>SoftwareUpdateMenu</name>
    <message>
        <source>升级完成, 请重新启动 !</source>
        <translation>Update done, please restart!</translation>
    </message>
    <message>
        <source>主控制器程序升级 ... ...</source>
        <translation>Main controller program update ... ...</translation>
    </message>
    <message>
        <source>从控制器程序升级 ... ...</source>
        <translation>Slave controller program update ... ...</translation>
    </message>
    <message>
        <source>1.人机交互程序升级 - %1</source>
        <extracomment>%1 is the panel program&apos;s version</extracomment>
        <translation>1.Panel program - %1</translation>
    </message>
    <message>
        <source>2.主控制器程序升级 - %1</source>
        <extracomment>%1 is the main controller&apos;s version</extracomment>
        <translation>2.Main controller - %1</translation>
    </message>
    <message>
        <source>3.从控制器程序升级 - %1</source>
        <extracomment>%1 is the slave controller&apos;s version</extracomment>
        <translation>3.Slave controller - %1</translation>
    </message>
    <message>
        <source>4.控制器程序全部升级 - </source>
        <translation>4.Update all programs - </translation>
    </message>
    <message>
        <source>5.控制器驱动更新</source>
        <translation>5.Controller drivers</translation>
    </message>
    <message>
        <source>人机交互程序升级 ... ...</source>
        <translation>Panel program update ... ...</translation>
    </message>
    <message>
        <source>控制器系统升级</source>
        <translation>Controller update</translation>
    </message>
    <message>
        <source>控制器程序全部升级 ... ...</source>
        <translation>Update all programs ... ...</translation>
    </message>
    <message>
        <source>创建文件夹成功 !</source>
        <translation>Folder created!</translation>
    </message>
    <message>
        <source>创建文件夹失败 !</source>
        <translation>Creating the folder failed!</translation>
    </message>
    <message>
        <source>控制器驱动更新 ... ...</source>
        <translation>Controller drivers ... ...</translation>
    </message>
    <message>
        <source>控制器驱动更新升级完成, 请重新启动 !</source>
        <translation>Drivers updated, please restart!</translation>
    </message>
    <message>
        <source>导入文件失败 !</source>
        <translation>Could not import the file!</translation>
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
    <name>StartupExchange</name>
    <message>
        <source>打开系统参数校验文件失败 !</source>
        <translation>Cannot open the system parameter check file!</translation>
    </message>
    <message>
        <source>复制系统参数校验文件失败 !</source>
        <translation>Cannot copy the system parameter check file!</translation>
    </message>
    <message>
        <source>系统参数校验失败! - %1 - %2 - %3. 是否关机 ?</source>
        <extracomment>%1 is the byte&apos;s offset, %2 and %3 the two values that differ</extracomment>
        <translation>System parameter check failed! - %1 - %2 - %3. Shut down?</translation>
    </message>
    <message>
        <source>打开个性化校验文件失败 !</source>
        <translation>Cannot open the personal settings check file!</translation>
    </message>
    <message>
        <source>复制个性化参数校验文件失败 !</source>
        <translation>Cannot copy the personal settings check file!</translation>
    </message>
    <message>
        <source>个性化校验文件失败! - %1 - %2 - %3. 是否关机 ?</source>
        <extracomment>%1 is the byte&apos;s offset, %2 and %3 the two values that differ</extracomment>
        <translation>Personal settings check failed! - %1 - %2 - %3. Shut down?</translation>
    </message>
    <message>
        <source>没有编织文件, 请选择 !</source>
        <translation>No knitting job, please choose one!</translation>
    </message>
</context>
<context>
    <name>StickBrowser</name>
    <message>
        <source>文件夹</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>名  称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>类  型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>大  小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>时  间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>F1.浏览文件</source>
        <translation>F1.View</translation>
    </message>
    <message>
        <source>F2.删除文件</source>
        <translation>F2.Delete</translation>
    </message>
    <message>
        <source>F3.新建文件</source>
        <translation>F3.New folder</translation>
    </message>
    <message>
        <source>F4.刷新U盘</source>
        <translation>F4.Refresh</translation>
    </message>
    <message>
        <source>F5.网络硬盘</source>
        <translation>F5.Network</translation>
    </message>
    <message>
        <source>&lt;|.向上一级</source>
        <translation>&lt;|.Up a level</translation>
    </message>
    <message>
        <source>|&gt;.打开目录</source>
        <translation>|&gt;.Open</translation>
    </message>
    <message>
        <source>正在读取U盘信息,请等待......(长时间无反应时,请拔出U盘 !</source>
        <translation>Reading the USB stick, please wait...... (if nothing happens for long, pull the stick out!)</translation>
    </message>
    <message>
        <source>U盘空间 : %1     剩余空间 : %2     路径 U:/%3</source>
        <extracomment>USB browser title line: stick size, free space, current folder; fits 620 px.</extracomment>
        <translation>Stick: %1   Free: %2   Path U:/%3</translation>
    </message>
    <message>
        <source>只能预览 .xxx .wrk 类型文件 !</source>
        <translation>Only .xxx and .wrk files can be viewed!</translation>
    </message>
    <message>
        <source>确定删除该文件吗?</source>
        <translation>Delete this file?</translation>
    </message>
    <message>
        <source>删除文件失败 !</source>
        <translation>Could not delete the file!</translation>
    </message>
    <message>
        <source>输入新建文件夹名称( 0 - 9的数字 )</source>
        <translation>Name of the new folder (digits 0 - 9)</translation>
    </message>
    <message>
        <source>参数范围不正确, 请查看参数范围 !</source>
        <translation>Value out of range, see the allowed range!</translation>
    </message>
    <message>
        <source>该文件夹已存在 !</source>
        <translation>This folder already exists!</translation>
    </message>
    <message>
        <source>新建文件夹失败 !</source>
        <translation>Could not create the folder!</translation>
    </message>
</context>
<context>
    <name>StickExport</name>
    <message>
        <source>该文件夹已经存在, 是否覆盖 ?</source>
        <translation>It already exists, overwrite it ?</translation>
    </message>
    <message>
        <source>确定导出该文件吗 ?</source>
        <translation>Export these files ?</translation>
    </message>
    <message>
        <source>导出文件完毕 !</source>
        <translation>Export finished !</translation>
    </message>
    <message>
        <source>导出文件失败, 请重试 !</source>
        <translation>Exporting failed, try again !</translation>
    </message>
</context>
<context>
    <name>StickExportDialog</name>
    <message>
        <source>导     出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>F7. 以文件形式导出</source>
        <translation>F7. Export as files</translation>
    </message>
</context>
<context>
    <name>StickFormatDialog</name>
    <message>
        <source>U盘格式化工具</source>
        <translation>USB stick format tool</translation>
    </message>
    <message>
        <source>E. U盘格式化</source>
        <translation>E.Format stick</translation>
    </message>
    <message>
        <source>警告: 格式化将删除U盘上的所有数据 !是否格式化 ?</source>
        <translation>Warning: formatting deletes all data on the USB stick! Format it?</translation>
    </message>
</context>
<context>
    <name>StickImportDialog</name>
    <message>
        <source>导     入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>导入文件失败 !</source>
        <translation>Could not import the file!</translation>
    </message>
</context>
<context>
    <name>StickJobImport</name>
    <message>
        <source>导入编织文件失败 !</source>
        <translation>Importing the job failed !</translation>
    </message>
    <message>
        <source>不能导入文件夹, 请选择文件 !</source>
        <translation>A folder cannot be imported, choose a file !</translation>
    </message>
    <message>
        <source>编织文件名称不正确, 导入失败 !</source>
        <translation>Wrong job name, import failed !</translation>
    </message>
    <message>
        <source>该编织文件已经存在, 是否覆盖 ?</source>
        <translation>This job already exists, overwrite it ?</translation>
    </message>
    <message>
        <source>缺少cnt文件,导入失败 !</source>
        <translation>No .cnt file, import failed !</translation>
    </message>
    <message>
        <source>缺少pat文件,导入失败 !</source>
        <translation>No .pat file, import failed !</translation>
    </message>
    <message>
        <source>导入编织文件成功 !</source>
        <translation>Job imported !</translation>
    </message>
    <message>
        <source>cnt文件没有校验码,是否导入 !</source>
        <translation>The .cnt file has no checksum, import it ?</translation>
    </message>
    <message>
        <source>pat文件没有校验码,是否导入 !</source>
        <translation>The .pat file has no checksum, import it ?</translation>
    </message>
    <message>
        <source>导入cnt文件失败 !</source>
        <translation>Importing the .cnt file failed !</translation>
    </message>
    <message>
        <source>导入pat文件失败 !</source>
        <translation>Importing the .pat file failed !</translation>
    </message>
    <message>
        <source>生成默认工作参数失败 !</source>
        <translation>Making the default work settings failed !</translation>
    </message>
    <message>
        <source>导入wrk文件失败 !</source>
        <translation>Importing the .wrk file failed !</translation>
    </message>
</context>
<context>
    <name>StopReasonDialog</name>
    <message>
        <source>停机原因</source>
        <translation>Stop reason</translation>
    </message>
    <message>
        <source>按数字键选择停机原因, 按&lt; X &gt;不填.</source>
        <extracomment>The stop reason dialog&apos;s help line; the digits are the reasons&apos; codes.</extracomment>
        <translation>Press a digit for the reason, &lt; X &gt; to leave it open.</translation>
    </message>
</context>
<context>
    <name>SystemParamPage</name>
    <message>
        <source>脉冲数 : %1     针位 : %2</source>
        <translation>Pulses : %1     Needle : %2</translation>
    </message>
    <message>
        <source>  &lt; M &gt;脉冲数 :%1</source>
        <translation>  &lt; M &gt;Pulses :%1</translation>
    </message>
</context>
<context>
    <name>SystemToolsMenu</name>
    <message>
        <source>该参数修改需要密码, 请输入密码: </source>
        <translation>This setting needs the password, enter it: </translation>
    </message>
    <message>
        <source>F8.更多系统工具菜单</source>
        <translation>F8.More system tools</translation>
    </message>
    <message>
        <source>更多系统工具菜单需要密码, 请输入密码: </source>
        <translation>More system tools need the password, enter it: </translation>
    </message>
    <message>
        <source>1.工作参数设置</source>
        <translation>1.Work parameters</translation>
    </message>
    <message>
        <source>进入工作参数设置界面失败, 请重试 !</source>
        <translation>Could not open the work parameters, try again !</translation>
    </message>
    <message>
        <source>2.系统参数设置</source>
        <translation>2.System parameters</translation>
    </message>
    <message>
        <source>进入系统参数设置界面失败, 请重试 !</source>
        <translation>Could not open the system parameters, try again !</translation>
    </message>
    <message>
        <source>3.密度电机修正</source>
        <translation>3.Density motor correction</translation>
    </message>
    <message>
        <source>进入密度电机修正界面失败, 请重试 !</source>
        <translation>Could not open the density motor correction, try again !</translation>
    </message>
    <message>
        <source>4.不工作密度设置</source>
        <translation>4.Idle density</translation>
    </message>
    <message>
        <source>进入不工作密度设置界面失败, 请重试 !</source>
        <translation>Could not open the idle density, try again !</translation>
    </message>
    <message>
        <source>5.摇床位置修正</source>
        <translation>5.Racking position correction</translation>
    </message>
    <message>
        <source>进入摇床位置修正界面失败, 请重试 !</source>
        <translation>Could not open the racking correction, try again !</translation>
    </message>
    <message>
        <source>F1.报警记录</source>
        <translation>F1.Alarm journal</translation>
    </message>
    <message>
        <source>1.机头加减速类型设置</source>
        <translation>1.Carriage acceleration types</translation>
    </message>
    <message>
        <source>进入加减速设置界面失败, 请重试 !</source>
        <translation>Could not open the acceleration types, try again !</translation>
    </message>
    <message>
        <source>2.机器个性化参数设置</source>
        <translation>2.Machine personalisation</translation>
    </message>
    <message>
        <source>进入个性化参数界面失败-3, 请重试 !</source>
        <translation>Could not open the personalisation-3, try again !</translation>
    </message>
    <message>
        <source>3.系统参数导入导出和初始化</source>
        <translation>3.System parameters: import, export, reset</translation>
    </message>
    <message>
        <source>4.系统时间修改</source>
        <translation>4.System time</translation>
    </message>
    <message>
        <source>5.桌面属性设置</source>
        <translation>5.Desktop settings</translation>
    </message>
    <message>
        <source>7.系统软件升级</source>
        <translation>7.Software update</translation>
    </message>
    <message>
        <source>6.触摸屏校正</source>
        <translation>6.Touch screen calibration</translation>
    </message>
    <message>
        <source>8.控制器出厂设置</source>
        <translation>8.Controller factory settings</translation>
    </message>
    <message>
        <source>F3.U盘格式化工具</source>
        <translation>F3.Format a USB stick</translation>
    </message>
    <message>
        <source>F2.硬盘格式化工具</source>
        <translation>F2.Format the flash disk</translation>
    </message>
    <message>
        <source>F8.常用系统工具菜单</source>
        <translation>F8.Common system tools</translation>
    </message>
    <message>
        <source>F1.纱嘴停放与机头速度对照表</source>
        <translation>F1.Carrier parking by speed</translation>
    </message>
    <message>
        <source>进入纱嘴停放与机头速度对照表界面失败, 请重试 !</source>
        <translation>Could not open the carrier parking table, try again !</translation>
    </message>
    <message>
        <source>选择要设置的参数, 按&lt; 确定 &gt;进入.</source>
        <translation>Choose what to set, press &lt; Enter &gt; to open it.</translation>
    </message>
    <message>
        <source>密码错误, 请重新输入 !</source>
        <translation>Wrong password, enter it again !</translation>
    </message>
    <message>
        <source>保存触摸屏校正数据失败, 请重新校正 !</source>
        <translation>Could not save the calibration, calibrate again !</translation>
    </message>
    <message>
        <source>请输入控制器厂家密码: </source>
        <translation>Enter the controller maker&apos;s password: </translation>
    </message>
    <message>
        <source> 导入控制器出厂配置参数</source>
        <translation> Import the controller&apos;s factory configuration</translation>
    </message>
    <message>
        <source> 导入控制器出厂配置参数失败 ! </source>
        <translation> Importing the controller&apos;s factory configuration failed ! </translation>
    </message>
</context>
<context>
    <name>TestEntry</name>
    <message>
        <source>进入测试界面失败-%1, 请重试 !</source>
        <translation>Entering the test failed-%1, try again!</translation>
    </message>
</context>
<context>
    <name>TouchCalibration</name>
    <message>
        <source>校正数据不一致, 请重新校正 !</source>
        <translation>The touches disagree, calibrate again !</translation>
    </message>
    <message>
        <source>请依次点击十字中心 ( 共 5 点 ) , 按 &lt; X &gt; 退出</source>
        <translation>Touch the centre of each cross in turn ( 5 points ) , &lt; X &gt; leaves</translation>
    </message>
    <message>
        <source>保存触摸屏校正数据失败, 请重新校正 !</source>
        <translation>Could not save the calibration, calibrate again !</translation>
    </message>
</context>
<context>
    <name>TransferFrame</name>
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
    <name>Translations</name>
    <message>
        <source>中文</source>
        <extracomment>The name of the language of this translation, written in it (&quot;English&quot;, &quot;Deutsch&quot;). The language menu shows it as is, whatever language the panel speaks at the time.</extracomment>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>UpdateFolderDialog</name>
    <message>
        <source>升     级</source>
        <translation>Update</translation>
    </message>
</context>
<context>
    <name>UpdatePackage</name>
    <message>
        <source>请保证该目录下有且只有一个主控程序</source>
        <translation>The folder must hold exactly one main controller program</translation>
    </message>
    <message>
        <source>请保证该目录下有且只有一个从控程序</source>
        <translation>The folder must hold exactly one slave controller program</translation>
    </message>
    <message>
        <source>请保证该目录下有且只有一个显示程序</source>
        <translation>The folder must hold exactly one panel program</translation>
    </message>
</context>
<context>
    <name>WorkEntry</name>
    <message>
        <source>进入设置界面失败, 请重试 !</source>
        <translation>Entering the settings failed, please retry !</translation>
    </message>
</context>
<context>
    <name>WorkFile</name>
    <message>
        <source>   第%1组</source>
        <extracomment>The views are columns of a fixed-width text: keep each heading&apos;s width.</extracomment>
        <translation>   Grp %1</translation>
    </message>
    <message>
        <source>   组  号      I前1     I前2     I后1     I后2    II前1    II前2    II后1    II后2</source>
        <translation>    Group       IF1      IF2      IB1      IB2     IIF1     IIF2     IIB1     IIB2</translation>
    </message>
    <message>
        <source>   组  号     速    度   </source>
        <translation>    Group        Speed   </translation>
    </message>
    <message>
        <source>   组  号       主 罗 拉     辅助罗拉     开合罗拉   </source>
        <translation>    Group        Main rl       Aux rl     Split rl   </translation>
    </message>
    <message>
        <source>   组  号            1号纱觜            2号纱觜            3号纱觜            4号纱觜</source>
        <translation>    Group          Carrier 1          Carrier 2          Carrier 3          Carrier 4</translation>
    </message>
    <message>
        <source>   组  号            5号纱觜            6号纱觜            7号纱觜            8号纱觜</source>
        <translation>    Group          Carrier 5          Carrier 6          Carrier 7          Carrier 8</translation>
    </message>
    <message>
        <source>    单  片      纱嘴1    纱嘴2    纱嘴3    纱嘴4    纱嘴5    纱嘴6   纱嘴7    纱嘴8</source>
        <translation>    Single       Car1     Car2     Car3     Car4     Car5     Car6    Car7     Car8</translation>
    </message>
    <message>
        <source>    替换为:</source>
        <translation>    Into:  </translation>
    </message>
    <message>
        <source>    片展开      衣片1    衣片2    衣片3    衣片4    衣片5    衣片6   衣片7    衣片8</source>
        <translation>    Pieces       Pce1     Pce2     Pce3     Pce4     Pce5     Pce6    Pce7     Pce8</translation>
    </message>
    <message>
        <source>    纱嘴  %1</source>
        <translation>    Car.  %1</translation>
    </message>
</context>
<context>
    <name>WorkFileBrowser</name>
    <message>
        <source> 导入工作参数失败 ! </source>
        <translation> Importing the work settings failed ! </translation>
    </message>
    <message>
        <source> 导入工作参数成功 ! </source>
        <translation> Work settings imported ! </translation>
    </message>
    <message>
        <source> 导入工作参数 ... ... </source>
        <translation> Importing work settings ... ... </translation>
    </message>
    <message>
        <source>1.密     度    </source>
        <translation>1.Stitch    </translation>
    </message>
    <message>
        <source>2.速     度    </source>
        <translation>2.Speed    </translation>
    </message>
    <message>
        <source>3.罗     拉    </source>
        <translation>3.Rollers    </translation>
    </message>
    <message>
        <source>4.纱     嘴    </source>
        <translation>4.Carriers    </translation>
    </message>
    <message>
        <source>5.纱嘴替换    </source>
        <translation>5.Replacement    </translation>
    </message>
    <message>
        <source>F1.导出参数到U盘</source>
        <translation>F1.Export to USB</translation>
    </message>
    <message>
        <source>F2.从U盘导入参数</source>
        <translation>F2.Import from USB</translation>
    </message>
    <message>
        <source>F3.从其它文件导入</source>
        <translation>F3.From a job</translation>
    </message>
    <message>
        <source>编织衣物参数浏览工具 - %1</source>
        <translation>Work settings browser - %1</translation>
    </message>
    <message>
        <source>导出工作参数 ... ... </source>
        <translation>Exporting work settings ... ... </translation>
    </message>
    <message>
        <source>导入工作参数 ... ... </source>
        <translation>Importing work settings ... ... </translation>
    </message>
</context>
<context>
    <name>WorkGrid</name>
    <message>
        <source>确定要正组修改吗 ?</source>
        <translation>Change the whole group ?</translation>
    </message>
</context>
<context>
    <name>WorkPage</name>
    <message>
        <source>参数范围 : 0 ~ 99     M : 整组修改     Pu : 上一页     Pd : 下一页 </source>
        <translation>Range : 0 ~ 99     M : whole group     Pu : prev. page     Pd : next page </translation>
    </message>
    <message>
        <source>纱嘴1</source>
        <translation>Carr. 1</translation>
    </message>
    <message>
        <source>纱嘴2</source>
        <translation>Carr. 2</translation>
    </message>
    <message>
        <source>纱嘴3</source>
        <translation>Carr. 3</translation>
    </message>
    <message>
        <source>纱嘴4</source>
        <translation>Carr. 4</translation>
    </message>
    <message>
        <source>纱嘴5</source>
        <translation>Carr. 5</translation>
    </message>
    <message>
        <source>纱嘴6</source>
        <translation>Carr. 6</translation>
    </message>
    <message>
        <source>第 %1  组</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <source>第%1 组</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <source>%1号纱嘴</source>
        <translation>Carrier %1</translation>
    </message>
    <message>
        <source>衣片%1</source>
        <translation>Piece %1</translation>
    </message>
    <message>
        <source>替换为</source>
        <translation>Replace by</translation>
    </message>
    <message>
        <source>第  %1 组</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <source>前1</source>
        <translation>Front 1</translation>
    </message>
    <message>
        <source>前2</source>
        <translation>Front 2</translation>
    </message>
    <message>
        <source>后1</source>
        <translation>Back 1</translation>
    </message>
    <message>
        <source>后2</source>
        <translation>Back 2</translation>
    </message>
    <message>
        <source>参数范围 : 0 ~ 650     M : 整组修改     Pu : 上一页     Pd : 下一页 </source>
        <translation>Range : 0 ~ 650     M : whole group     Pu : prev. page     Pd : next page </translation>
    </message>
    <message>
        <source>速 度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>主 罗 拉</source>
        <translation>Main roller</translation>
    </message>
    <message>
        <source>副 罗 拉</source>
        <translation>Aux. roller</translation>
    </message>
    <message>
        <source>开合罗拉</source>
        <translation>Split roller</translation>
    </message>
    <message>
        <source>积家1</source>
        <translation>Stop 1</translation>
    </message>
    <message>
        <source>积家2</source>
        <translation>Stop 2</translation>
    </message>
    <message>
        <source>参数范围 : 0 ~ 30     Pu : 上一组     Pd : 下一组     当前组 : </source>
        <translation>Range : 0 ~ 30     Pu : prev. group     Pd : next group     Group : </translation>
    </message>
    <message>
        <source>送纱器</source>
        <translation>Yarn feeder</translation>
    </message>
    <message>
        <source>参数范围 : 1 ~ 8 ( 片展开纱嘴替换 ) </source>
        <translation>Range : 1 ~ 8 ( carrier replacement per piece ) </translation>
    </message>
    <message>
        <source>参数范围 : 1 ~ 8 ( 单片纱嘴替换 ) </source>
        <translation>Range : 1 ~ 8 ( carrier replacement, one piece ) </translation>
    </message>
</context>
<context>
    <name>WorkParamKeys</name>
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
    <name>WorkParamsFrame</name>
    <message>
        <source>F1.密度设置</source>
        <translation>F1.Stitch</translation>
    </message>
    <message>
        <source>F2.速度设置</source>
        <translation>F2.Speed</translation>
    </message>
    <message>
        <source>F3.罗拉设置</source>
        <translation>F3.Rollers</translation>
    </message>
    <message>
        <source>F4.纱嘴停放</source>
        <translation>F4.Parking</translation>
    </message>
    <message>
        <source>F5.纱嘴替换</source>
        <translation>F5.Replace</translation>
    </message>
    <message>
        <source>F6.片展开设置</source>
        <translation>F6.Pieces</translation>
    </message>
    <message>
        <source>F1.送纱器设置</source>
        <translation>F1.Yarn feeders</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>电子硬盘无法使用, 已用默认参数启动, 设置不能保存 ! 请修复或格式化电子硬盘 !</source>
        <translation>The flash disk cannot be used: started with default parameters, settings cannot be kept! Repair or format the flash disk!</translation>
    </message>
</context>
</TS>
