#include "diskformatpage.h"

#include "ui/beepingbutton.h"
#include "ui/keytable.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

DiskFormatPage::DiskFormatPage(QWidget *parent, const char *name, const QString &title, const QString &heading)
    : ScreenFrame(parent, name)
{
    setTitleLine(title);
    auto *head = new QLabel(heading, this);
    head->setObjectName(QStringLiteral("heading"));
    head->setGeometry(130, 55, 500, 36);
    head->setAlignment(Qt::AlignCenter);
    head->setFont(PanelFonts::title());
    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("log"));
    log_->setGeometry(130, 100, 500, 370);
    log_->setReadOnly(true);
    log_->setFocusPolicy(Qt::NoFocus);
    log_->setFont(PanelFonts::panel(16));
}

void DiskFormatPage::addButton(const QString &text, int key, const std::function<void()> &action)
{
    auto *button = new BeepingButton(text, this, "Bmenu");
    button->setGeometry(10, 100 + 50 * buttons_.size(), 110, 40);
    button->setFocusPolicy(Qt::NoFocus);
    button->setPalette(PanelPalettes().buttonDark());
    connect(button, &QPushButton::clicked, this, action);
    buttons_.append(button);
    // A key does what its button does, and nothing while the button is disabled.
    KeyTable::install(this, {{{key}, [button] {
                                  if (button->isEnabled())
                                      button->click();
                              }}});
}

void DiskFormatPage::reject()
{
    if (!running_)
        ScreenFrame::reject();
}

QStringList DiskFormatPage::log() const
{
    return log_->toPlainText().split(QLatin1Char('\n'));
}

void DiskFormatPage::setButtonsEnabled(bool enabled)
{
    for (BeepingButton *b : buttons_)
        b->setEnabled(enabled);
}

void DiskFormatPage::runChain(const QList<FormatStep> &steps)
{
    log_->clear();
    steps_ = steps;
    running_ = true;
    setButtonsEnabled(false);
    runStep(0);
}

void DiskFormatPage::runStep(int index)
{
    QStringList lines;
    const int next = index < steps_.size() ? steps_.at(index).run(lines) : FormatStep::kEnd;
    for (const QString &line : lines)
        log_->appendPlainText(line);
    if (next == FormatStep::kEnd || index + 1 >= steps_.size()) {
        running_ = false;
        setButtonsEnabled(true);
        return;
    }
    QTimer::singleShot(next, this, [this, index] { runStep(index + 1); });
}
