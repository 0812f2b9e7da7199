#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// The report a drop carries: the first of its URLs, when that is a local file; empty otherwise.
QString DroppedReport(const QMimeData* data);
// The report named on the command line (arguments without the program's name and Qt's own options):
// the first argument, "--" ending the options, made absolute against the current folder; empty when
// there is none. Options are ignored.
QString CommandLineReport(const QStringList& arguments);
