#include "labelmessage.h"

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
    setText(m1 + QLatin1Char(' ') + m2);
    show();
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
