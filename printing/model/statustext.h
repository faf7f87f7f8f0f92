#pragma once
// The status line a print run shows while it works: a pattern with percent placeholders.

#include <QString>
#include <QStringList>

namespace postavo::printing {

struct StatusValues {
    int page = 1;
    int firstPage = 1;
    int lastPage = 9999;
    QStringList lines;  // status lines 0 to 9
    QString deviceName;
    QString driverName;
    QString portName;
};

// "%p" page, "%0"-"%9" status lines (empty when missing), "%%" a percent sign, "%F"/"%L" the
// page range, "%D" device, "%R" driver, "%T" port; letters without regard to case. Any other
// character c after '%' gives "<ERROR-%C>"; a '%' at the very end stays as it is.
QString formatStatus(const QString& format, const StatusValues& values);

// Status texts break lines with "\r" (and "\r\n"); a label wants "\n".
QString statusToDisplay(const QString& text);

} // namespace postavo::printing
