#pragma once

#include "httpreply.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

// The dashboard's pages and their files, from the built-in resources: /, /shifts, /alerts,
// /report (its day and shift checked), /machine/<id>, /static/<file> and /login, each page in the
// language asked for (?lang=, else the best of Accept-Language, else English).
class PageRoutes
{
public:
    // The reply for a page's path; status 0 when the path is none of them.
    static HttpReply answer(const QString &path, const QUrl &url, const QByteArray &acceptLanguage);

private:
    static HttpReply page(const QString &name, const QUrl &url, const QByteArray &acceptLanguage);
    static HttpReply file(const QString &name);
    static QByteArray language(const QUrl &url, const QByteArray &accept);
    // A mark of the built-in files' contents: changes with any of them.
    static QByteArray filesMark();
    static bool reportDayKnown(const QUrlQuery &q);
};
