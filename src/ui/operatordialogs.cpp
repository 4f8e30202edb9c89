#include "operatordialogs.h"

#include "messagedialog.h"
#include "questiondialog.h"
#include "textinputdialog.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace {

QString information()
{
    return QCoreApplication::translate("MessageFrame", "信  息");
}

QString runInput(TextInputDialog &dialog, const QString &prompt, int maxLength)
{
    dialog.setTitleLine(QStringLiteral("Input Dialog"));
    dialog.setMessageLine(prompt);
    dialog.lineEdit()->setMaxLength(maxLength);
    return dialog.exec() == QDialog::Accepted ? dialog.text() : QString();
}

} // namespace

void showMessage(QWidget *parent, const QString &text)
{
    MessageDialog dialog(parent);
    dialog.setTitle(information());
    dialog.setText(text);
    dialog.exec();
}

bool askYesNo(QWidget *parent, const QString &text)
{
    QuestionDialog dialog(parent);
    dialog.setTitle(information());
    dialog.setText(text);
    return dialog.exec() == QDialog::Accepted;
}

QString askText(QWidget *parent, const QString &, const QString &prompt, int maxLength)
{
    TextInputDialog dialog(parent);
    return runInput(dialog, prompt, maxLength);
}

QString askPassword(QWidget *parent, const QString &, const QString &prompt, int maxLength)
{
    TextInputDialog dialog(parent);
    dialog.lineEdit()->setEchoMode(QLineEdit::Password);
    return runInput(dialog, prompt, maxLength);
}

QString askTextSelected(QWidget *parent, const QString &, const QString &prompt, int maxLength,
                      const QString &initial)
{
    TextInputDialog dialog(parent);
    dialog.lineEdit()->setMaxLength(maxLength);
    dialog.lineEdit()->setText(initial);
    dialog.lineEdit()->selectAll();
    return runInput(dialog, prompt, maxLength);
}
