#include "labelmessage.h"

#include <QCoreApplication>
#include <QEvent>

LabelMessage::LabelMessage(QWidget *parent, const char *name)
    : QLabel(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    cancelMessage();
}

void LabelMessage::setMessage(const QString &m1, const QString &m2)
{
    message1_ = m1;
    message2_ = m2;
    showMessages();
    show();
}

void LabelMessage::showMessages()
{
    const QByteArray source = message1_.toUtf8();
    setText(QCoreApplication::translate("MessageSteps", source.constData()) + QLatin1Char(' ') + message2_);
}

void LabelMessage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        showMessages();
    QLabel::changeEvent(event);
}

void LabelMessage::setMessage1(const QString &m1)
{
    setMessage(m1, message2_);
}

void LabelMessage::cancelMessage()
{
    setMessage(QString(), QString());
    hide();
}
