#include "carrierstartstrip.h"

#include "data/carrierstartmarks.h"

#include "ui/panelpalettes.h"

#include <QEvent>
#include <QLabel>

namespace {

constexpr int kLeftX = 90;
constexpr int kRightX = 300;
constexpr int kStep = 25;

} // namespace

CarrierStartStrip::CarrierStartStrip(const MachineData &machine, QWidget *parent)
    : QWidget(parent)
    , machine_(machine)
    , title_(new QLabel(tr("纱嘴初始位置"), this))
{
    setObjectName(QStringLiteral("carrierstartstrip"));
    title_->setObjectName(QStringLiteral("title"));
    title_->setGeometry(0, 0, 85, 22);
    for (int i = 0; i < CarrierStartMarks::kCarriers; ++i) {
        for (bool right : {false, true}) {
            auto *l = new QLabel(QString::number(i + 1), this);
            l->setAlignment(Qt::AlignCenter);
            l->setAutoFillBackground(true);
            l->setGeometry((right ? kRightX : kLeftX) + kStep * i, 0, kStep - 3, 22);
            (right ? right_ : left_)[std::size_t(i)] = l;
        }
    }
}

void CarrierStartStrip::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        title_->setText(tr("纱嘴初始位置"));
    QWidget::changeEvent(event);
}

bool CarrierStartStrip::isDark(bool right, int carrier) const
{
    return label(right, carrier)->property("dark").toBool();
}

void CarrierStartStrip::showStarts()
{
    const CarrierStartMarks::Strip strip = CarrierStartMarks::current(machine_, CarrierStartMarks::firstRows(machine_));
    for (int i = 0; i < CarrierStartMarks::kCarriers; ++i) {
        for (bool right : {false, true}) {
            const bool dark = (right ? strip.right : strip.left)[std::size_t(i)];
            QLabel *l = label(right, i);
            l->setProperty("dark", dark);
            l->setPalette(dark ? PanelPalettes().labelDark() : PanelPalettes().labelWhite());
        }
    }
}
