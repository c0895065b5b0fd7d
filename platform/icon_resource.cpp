#include "platform/icon_resource.h"

#include <QFile>

QIcon LoadIconResource(int id) {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        const QString path = QStringLiteral(":/icons/icon%1-%2.png").arg(id).arg(size);
        if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
    }
    return icon;
}
