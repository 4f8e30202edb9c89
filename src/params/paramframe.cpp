#include "paramframe.h"

#include "paramgrid.h"

#include "ui/buzzer.h"
#include "ui/panelfonts.h"
#include "ui/paramkeys.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

ParamFrame::ParamFrame(QWidget *parent, const char *name, const char *title, const char *boxText)
    : ScreenFrame(parent, name)
{
    setTitleLine(QString::fromUtf8(title));
    // The twelve-key keypads need the screen's whole height: the key column stands at the left
    // edge from top to bottom, and the title and help lines start beside it, so the close and
    // clear buttons stay free whatever keys it shows.
    titleLabel()->setGeometry(kPanelWidth, 0, 540 - kPanelWidth, 28);
    msgLabel()->setGeometry(kPanelWidth, 28, 540 - kPanelWidth, 17);
    keys_ = new ParamKeys(this, "paramkeys");
    keys_->setGeometry(0, 0, kPanelWidth, 480);
    box_ = new QGroupBox(QCoreApplication::translate("ParamFrame", boxText), this);
    box_->setObjectName(QStringLiteral("groupbox"));
    box_->setFont(PanelFonts::panel());
    box_->setGeometry(kPanelWidth + 4, 48, 640 - kPanelWidth - 8, 428);
    new QVBoxLayout(box_);
    box_->layout()->setContentsMargins(2, 2, 2, 2);
}

void ParamFrame::setPage(ParamGrid *page)
{
    grid_ = page;
    box_->layout()->addWidget(page);
    connect(page, &ParamGrid::messageChanged, this, &ScreenFrame::setMessageLine);
    connect(page, &ParamGrid::changeWanted, this, &ParamFrame::acceptChangeWish);
    connect(page, &ParamGrid::panelCodeChanged, keys_, &ParamKeys::showKeysForCell);
    // The button beeps as Backspace does through the page's key table.
    connect(this, &ScreenFrame::clearRequested, page, [page] {
        buzzer(kKeyBeepMs);
        page->clearKey();
    });
}
