#pragma once
// A data table's columns declared, and a row's cells fetched, each in one statement: the types
// once, in the columns' order, and the names the rows and the checks know them by.

#include <QTest>

#include <tuple>

namespace TestTable {

// columns<QString, int>("name", "count") declares the columns "name" and "count".
template <typename... T, typename... Names>
void columns(Names... names)
{
    static_assert(sizeof...(T) == sizeof...(Names), "one name per column");
    (QTest::addColumn<T>(names), ...);
}

// auto [name, count] = fetch<QString, int>("name", "count"): the current row's cells, as QFETCH
// would give them one by one (a wrong name or type stops the test there).
template <typename... T, typename... Names>
std::tuple<T...> fetch(Names... names)
{
    static_assert(sizeof...(T) == sizeof...(Names), "one name per column");
    return std::tuple<T...>(*static_cast<T *>(QTest::qData(names, ::qMetaTypeId<T>()))...);
}

} // namespace TestTable
