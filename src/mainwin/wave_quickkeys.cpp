// The main screen's command keys as shown: the numbered quick functions along the top and the
// picture keys along the bottom, whose active state mirrors the running options of para_cur.
#include "wave.h"

#include "data/parablocks.h"
#include "ui/mylabel.h"
#include "ui/palettes.h"
#include "ui/panelfonts.h"

#include <QPushButton>

namespace {

struct QuickKey
{
    const char *text;
    int left; // -1: under the screen-lock button, reached by its key only
};

const QuickKey kQuickKeys[] = {
    {"1.编织参数", 10}, {"2.常用参数", 90}, {"3.文件操作", 170}, {"4.其它参数", 250},
    {"5.片 展 开  ", -1}, {"6.测试工具", 330}, {"7.系统工具", 410}, {"8.备      用", -1},
    {"9.备      用", -1}, {"0.跳行调试", 490}, {"罗拉正转", -1}, {"罗拉反转", -1},
};

struct PictureKey
{
    const char *text;
    int curByte; // -1: no option behind it
};

// Left to right: zero, row lock, speed, piece, error disable, yarn carrier, seventh, close.
const PictureKey kPictureKeys[] = {
    {"归零", 0}, {"锁行", 2}, {"速度", 1}, {"件数", 3}, {"报错", 5}, {"纱嘴", 4}, {"", -1}, {"关机", -1},
};
const int kPictureLeft[] = {10, 92, 174, 256, 337, 419, 501, 583};
const Qt::Key kPictureAccel[] = {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D,
                                 Qt::Key_E, Qt::Key_F, Qt::Key_G, Qt::Key_H};

} // namespace

void wave::createQuickKeys()
{
    for (int i = 0; i < 8; ++i) {
        auto *key = new QPushButton(QString::fromUtf8(kPictureKeys[i].text), this);
        key->setObjectName(QStringLiteral("picturekey%1").arg(i + 1));
        key->setGeometry(kPictureLeft[i], 422, 48, 48);
        key->setCheckable(true);
        key->setFocusPolicy(Qt::NoFocus);
        key->setShortcut(QKeySequence(kPictureAccel[i]));
        // The options are switched through their own commands; the key only shows them.
        key->setAttribute(Qt::WA_TransparentForMouseEvents, kPictureKeys[i].curByte >= 0);
        pictureKeys_.append(key);
    }
    connect(pictureKeys_.last(), &QPushButton::released, this, &wave::wave_slot_close);

    for (const QuickKey &q : kQuickKeys) {
        auto *label = new MyLabel(this, "quickkey");
        label->setText(QString::fromUtf8(q.text));
        label->setPalette(palette_label_white);
        label->setAutoFillBackground(true);
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(PanelFonts::panel(12));
        if (q.left >= 0) {
            label->setGeometry(q.left, 10, 65, 35);
        } else {
            // Under the screen-lock button, which is narrower than they are when unlocked:
            // hidden, so no edge of them shows beside it; their keys reach them all the same.
            label->setGeometry(570, 10, 60, 35);
            label->hide();
        }
        quickKeys_.append(label);
    }
    wave_paint_quickkey();
}

void wave::wave_paint_quickkey()
{
    for (int i = 0; i < pictureKeys_.size(); ++i) {
        const int byte = kPictureKeys[i].curByte;
        pictureKeys_[i]->setChecked(byte >= 0 && para_cur.byte(std::size_t(byte)) != 0);
    }
}
