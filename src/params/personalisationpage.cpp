#include "personalisationpage.h"

#include "pagebuttons.h"

#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "logic/controller/updatebracket.h"
#include "logic/params/parammessages.h"
#include "platform/panelpaths.h"
#include "ui/celledit.h"
#include "ui/fileoperatedialog.h"
#include "ui/operatordialogs.h"
#include "ui/stickexportdialog.h"
#include "ui/stickimportdialog.h"
#include "ui/transferdialog.h"

namespace {

constexpr int kGroup = Protocol::PersonalisationGroup;
constexpr int kRows = 15;
const char kPassword[] = "3761";
const char kStickFile[] = "/config.cfg";

struct Row
{
    const char *label;
    int word;
    int min, max;
    const char *help;
    const ChoiceSet *choices = nullptr;
};

const char kMm[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 999 mm");
const char kOnOffHelp[] = QT_TRANSLATE_NOOP("ParamCell", "1 = 打开, 2 = 关闭");

// Column 0, then column 1; the empty place (0,14) holds no setting.
const Row kCells[] = {
    {QT_TRANSLATE_NOOP("ParamCell", "机头宽度"), 0, 1, 999, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 999  mm")},
    {QT_TRANSLATE_NOOP("ParamCell", "第1选针器左边沿与第2选针器左边沿间距"), 1, 1, 999, kMm},
    {QT_TRANSLATE_NOOP("ParamCell", "第1选针器左边沿与第3选针器左边沿间距"), 2, 1, 999, kMm},
    {QT_TRANSLATE_NOOP("ParamCell", "第1选针器左边沿与第4选针器左边沿间距"), 3, 1, 999, kMm},
    {QT_TRANSLATE_NOOP("ParamCell", "第1选针器左边沿与机头左边沿间距"), 4, 1, 999, kMm},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器宽度"), 5, 1, 999, kMm},
    {QT_TRANSLATE_NOOP("ParamCell", "第1选针器中心点与机头左边沿间距"), 6, 1, 999, kMm},
    {QT_TRANSLATE_NOOP("ParamCell", "主伺服脉冲当量"), 20, 2000, 20000, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 2000 ~ 20000 mm")},
    {QT_TRANSLATE_NOOP("ParamCell", "移床伺服脉冲当量"), 40, 2000, 20000, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 2000 ~ 20000 mm")},
    {QT_TRANSLATE_NOOP("ParamCell", "移床伺服齿轮比分子"), 42, 1, 65535, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 65535 mm")},
    {QT_TRANSLATE_NOOP("ParamCell", "移床伺服齿轮比分母"), 43, 1, 65535, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 65535")},
    {QT_TRANSLATE_NOOP("ParamCell", "移床最大水平速度"), 44, 100, 500, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 100 ~ 500")},
    {QT_TRANSLATE_NOOP("ParamCell", "移床丝杆轴齿数"), 45, 1, 50, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 50")},
    {QT_TRANSLATE_NOOP("ParamCell", "移床电机轴齿数"), 46, 1, 50, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 50")},
    {nullptr, -1, 0, 0, nullptr},
    // The controller takes at most 12000 here, though the help line reads 20000.
    {QT_TRANSLATE_NOOP("ParamCell", "移床丝杆步进值"), 47, 1, 12000, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 20000")},
    {QT_TRANSLATE_NOOP("ParamCell", "罗拉力矩电机最大导通角"), 60, 8000, 15000, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 8000 ~ 15000")},
    {QT_TRANSLATE_NOOP("ParamCell", "罗拉力矩电机最小导通角"), 61, 0, 8000, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 0 ~ 8000")},
    {QT_TRANSLATE_NOOP("ParamCell", "一体罗拉最大驱动频率"), 62, 1, 25000, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 25000")},
    {QT_TRANSLATE_NOOP("ParamCell", "力矩电机使能"), 63, 1, 2, kOnOffHelp, &kOnOff},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器类型"), 80, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = 单向, 2 = 双向"), &kSelectorType},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器保护"), 81, 1, 2, kOnOffHelp, &kOnOff},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器刀片数"), 82, 1, 8, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 8")},
    {QT_TRANSLATE_NOOP("ParamCell", "摇床类型"), 83, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = 后摇, 2 = 前摇"), &kRackingType},
    {QT_TRANSLATE_NOOP("ParamCell", "底版类型"), 84, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = K型, 2 = L型"), &kBaseType},
    {QT_TRANSLATE_NOOP("ParamCell", "二段密度三角使能"), 85, 1, 2, kOnOffHelp, &kOnOff},
    {QT_TRANSLATE_NOOP("ParamCell", "主板选择"), 90, 1, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 10")},
    {QT_TRANSLATE_NOOP("ParamCell", "行动作滞后针位"), 91, 1, 20, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 ~ 20")},
    {QT_TRANSLATE_NOOP("ParamCell", "主轴最大过冲"), 92, 8, 50, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 8 ~ 50")},
    {QT_TRANSLATE_NOOP("ParamCell", "最小换向时间"), 93, 0, 50000, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 0 ~ 50000")},
};

CellKind kindOf(const Row &row)
{
    return !row.label ? CellKind::Empty : row.choices ? CellKind::Choice : CellKind::Number;
}

} // namespace

const ParamTable &PersonalisationPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.columns = 2;
        t.rows = kRows;
        for (const Row &row : kCells)
            t.cells.append({row.label, row.help, kindOf(row), row.min, row.max, 0, row.word, row.word, row.choices});
        return t;
    }();
    return table;
}

PersonalisationPage::PersonalisationPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), kGroup,
                {[this](int i) { return record_.word(i); }, [this](int i, unsigned short v) { record_.setWord(i, v); }},
                parent, name)
{
    auto *buttons = new PageButtons(this);
    buttons->add(tr("F1. 导入个性化参数"), [this] { importFromStick(); });
    buttons->add(tr("F2. 导出个性化参数"), [this] { exportToStick(); });
    addBeside(buttons, firstRow() + kRows, 0, 5);
    bindKey(Qt::Key_A, [this] { importFromStick(); });
    bindKey(Qt::Key_B, [this] { exportToStick(); });
}

void PersonalisationPage::load()
{
    const QString path = PanelPaths::tmp(QStringLiteral("/config.cfg"));
    unreadable_.clear();
    if (!TransferDialog::getFile(path)) {
        unreadable_ = tr("读取个性化参数文件失败, 请重试 !");
        record_ = ConfigRecord();
    } else if (record_.read(path) != ConfigRecord::Loaded) {
        // A short file would leave part of the page, and then of the check copy, empty.
        unreadable_ = tr("打开个性化参数文件失败 !");
    }
    if (!unreadable_.isEmpty())
        showMessage(this, unreadable_);
}

void PersonalisationPage::setCellValue(int column, int row, unsigned short value)
{
    if (record_.loaded())
        ParamGrid::setCellValue(column, row, value);
    else if (CellEdit *e = cell(column, row))
        e->clear();
}

void PersonalisationPage::enterKey()
{
    const ParamCell &c = current();
    if (c.kind == CellKind::Empty)
        return;
    if (!record_.loaded()) {
        showMessage(this, unreadable_);
        focusCurrent();
        return;
    }
    const CellText::Parsed p = parseCurrent();
    if (p.status != CellText::Value) {
        showResult(ParamEntry::OutOfRange, ParamMessages::kRetry);
    } else {
        const QString password = askPassword(this, QString(), ParamMessages::text(ParamMessages::kPasswordPrompt),
                                             ParamMessages::kPasswordLength);
        if (!password.isEmpty() && password != QLatin1String(kPassword)) {
            showMessage(this, tr("密码错误, 无法修改此参数 !"));
        } else if (!password.isEmpty()) {
            const ParamEntry::Result result = entry().send(c, p.stored);
            showResult(result, ParamMessages::kRetry);
            if (result == ParamEntry::Stored && !record_.saveCheck())
                showMessage(this, tr("保存个性化备份参数失败, 请重试 !"));
        }
    }
    restore(column(), row());
    focusCurrent();
}

bool PersonalisationPage::passwordGiven()
{
    return askPassword(this, QString(), ParamMessages::text(ParamMessages::kPasswordPrompt), ParamMessages::kPasswordLength)
        == QLatin1String(kPassword);
}

// The controller leaves the personalisation's update while its file moves, and is asked back
// on every way out, so the page never stays open with the controller refusing its values.
bool PersonalisationPage::leaveUpdate()
{
    if (UpdateBracket(kGroup).closeRetrying())
        return true;
    showMessage(this, ParamMessages::text(ParamMessages::kRetry));
    return false;
}

void PersonalisationPage::enterUpdate()
{
    if (!UpdateBracket(kGroup).openRetrying())
        showMessage(this, ParamMessages::text(ParamMessages::kRetry));
}

void PersonalisationPage::importFromStick()
{
    if (!passwordGiven() || !leaveUpdate())
        return;
    const QString staged = PanelPaths::tmp(QLatin1String(kStickFile));
    QFile::remove(staged);
    if (StickImportDialog::openFileFromStick(staged, tr("机器个性化参数导入 ... ..."), PanelPaths::usbRoot(),
                                            QStringLiteral("config*.cfg"), this)) {
        ConfigRecord imported;
        if (!ControllerCommands::stopped()) {
            showMessage(this, ControllerMessages::refusal(ParamMessages::text(ParamMessages::kRunning)));
        } else if (imported.read(staged) != ConfigRecord::Loaded || !TransferDialog::putFile(staged)) {
            // A file of another size would leave the controller's configuration half old.
            showMessage(this, tr("机器个性化参数导入失败, 请重试 !"));
        } else {
            if (!FileOperateDialog::copy(staged, PanelPaths::data(QStringLiteral("/para/checkconfig.cfg")), this))
                showMessage(this, tr("复制系统校验文件失败, 将使用显示模块中的系统参数 !"));
            QWidget *page = window();
            page->close();
            showMessage(page->parentWidget(), tr("机器个性化参数导入完成, 请重新启动 !"));
        }
    }
    enterUpdate();
}

void PersonalisationPage::exportToStick()
{
    if (!leaveUpdate())
        return;
    const QString fetched = PanelPaths::tmp(QLatin1String(kStickFile));
    if (!TransferDialog::getFile(fetched))
        showMessage(this, tr("机器个性化参数导出失败, 请重试 !"));
    else
        StickExportDialog::saveFileToStick(fetched, tr("导出个性化参数到U盘 ... ..."), PanelPaths::usbRoot(),
                                             QStringLiteral("*.cfg"), this);
    enterUpdate();
}
