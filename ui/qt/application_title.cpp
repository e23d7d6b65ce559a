#include "ui/qt/application_title.h"

#include <QString>

namespace brzdomat {

std::string ApplicationTitle(std::string_view executablePath)
{
    auto path
        = QString::fromUtf8(executablePath.data(), static_cast<qsizetype>(executablePath.size()));
    auto name = path.mid(path.lastIndexOf(u'/') + 1);
    if (auto stop = name.indexOf(u'.'); stop >= 0)
        name.truncate(stop);
    if (name.isEmpty())
        return {};
    // A letter outside the basic plane takes two UTF-16 units; both belong to the first character.
    qsizetype firstLength = name.front().isHighSurrogate() && name.size() > 1 ? 2 : 1;
    return (name.left(firstLength) + name.mid(firstLength).toLower()).toStdString();
}

} // namespace brzdomat
