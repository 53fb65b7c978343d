#pragma once
// What every file dialog of the program shares: the folder it opens in (where the set was last
// opened or saved, so that a set's pictures and tables land beside it), the name it offers (the
// window's title made safe for any file system, e.g. "Valve events - Nominal.csv"), and the
// extension added to a name typed without one.

#include <QString>

class QWidget;

namespace vek1 {

// The folder of the set file last opened or saved in this run. Until one is, the folder the
// last file was written to, else the user's home folder: never the program's own folder.
QString setFolder();
// Called with the path of a set file just opened or saved.
void rememberSetFile(const QString& path);
// The set file last opened or saved in this run (the working set's own file), or empty.
QString lastSetFile();
// Called with the path of any other file just written, so that a later dialog opens there when
// no set has been opened or saved yet.
void rememberWrittenFile(const QString& path);

// `path` with ".ext" added unless it already ends in it (in any case of letters); `extension`
// is given without the dot, e.g. "csv".
QString withExtension(const QString& path, const QString& extension);
// The name offered for a file of a window's content: the title with ": " as " - " and the
// characters some file systems refuse as "-", then ".ext", in setFolder().
QString offeredFilePath(const QString& title, const QString& extension);

// Asks for a file to save: opens in setFolder() offering offeredFilePath(title, extension),
// filters on the extension, and returns the chosen path with the extension added (empty on
// Cancel). `kind` names the files in the filter, e.g. "CSV files".
QString askSaveFile(QWidget* parent, const QString& caption, const QString& title,
                    const QString& kind, const QString& extension);
// Asks for a saved set to read, native or older (.dve, .ovk), opening in setFolder(); empty on
// Cancel.
QString askOpenSetFile(QWidget* parent, const QString& caption);

}  // namespace vek1
