// The report file: while the report option is on, every long operation
// appends a banner at its start and the whole log box at its end.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"
#include "toolkit/durable_file.h"

namespace tarvolin {

namespace sf = storefiles;

std::string CollectionStore::reportFilePath() const {
    return app_.state.AppFolder + "tarvolin_reports/tarvolin_report.txt";
}

namespace {
void setReportExists(Program& app, bool exists) {
    app.state.ReportExists = exists;
    app.Form1.MnuMoreReportDelete.setEnabled(exists);
}
}  // namespace

void CollectionStore::Report_File_Size() {
    Make_Data_Folder(0);
    const std::string path = reportFilePath();
    std::FILE* in = std::fopen(path.c_str(), "rb");
    const std::int64_t bytes = sf::fileSize(path);
    if (in && bytes >= 0) {
        std::fclose(in);
        // Megabytes with four decimals.
        const Currency size = Currency::fromRaw((bytes * 10000 + 524288) / 1048576);
        logLine("-> Μέγεθος αρχείου Αναφοράς - Reports File Size:\r\n" + Format(size, "0000.00") + "Mb\r\n ---> " +
                path);
        setReportExists(app_, true);
    } else {
        if (in) std::fclose(in);
        setReportExists(app_, false);
    }
}

void CollectionStore::Delete_Report_File() {
    Make_Data_Folder(0);
    const std::string path = reportFilePath();
    std::remove(path.c_str());
    // The menu item offers the deletion exactly while there is a file.
    setReportExists(app_, sf::exists(path));
}

void CollectionStore::endFilesRun(bool report) {
    Form1& f = app_.Form1;
    if (report) {
        f.Text2[0].setText(f.Text2[1].Text());
        Report_File(0);
    }
    Etiketes_Synol_Songs();
    f.MnuSystemTray.setEnabled(true);
    f.setEnabled(true);
    app_.dialogs().setMousePointer(0);
}

void CollectionStore::Report_File(int Begin) {
    Make_Data_Folder(0);
    const std::string path = reportFilePath();
    // The report with the text added is written beside it and takes its
    // place: a kill or a power cut leaves the report as it was or with the
    // whole text.
    auto add = [&](const std::string& text) {
        const bool ok = durable::appendWhole(path, text);
        if (!ok) logLine("-> " + std::string(std::strerror(errno)));
        return ok;
    };

    if (Begin == -1) {
        if (!reportOpen_ && !sf::exists(path)) logLine("-> " + std::string(std::strerror(ENOENT)));
        const std::string stars = String(100, "*");
        const bool written = add(stars + "\r\n" + DateText(app_.loop().now()) + "\r\n" + stars + "\r\n");
        if (!reportOpen_) setReportExists(app_, written);
        reportOpen_ = reportOpen_ || written;
        return;
    }
    if (!reportOpen_) {
        logLine("-> Bad file name or number");
        return;
    }
    add(app_.Form1.Text2[0].Text() + "\r\n");
    reportOpen_ = false;
}

}  // namespace tarvolin
