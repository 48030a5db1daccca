// The report file: while the report option is on, every long operation
// appends a banner at its start and the whole log box at its end.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/program.h"
#include "collection/collection_store.h"
#include "collection/store_files.h"

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

void CollectionStore::Report_File(int Begin) {
    Make_Data_Folder(0);
    const std::string path = reportFilePath();
    auto check = [&](bool ok) {
        if (!ok) logLine("-> " + report_.errorText());
    };

    if (Begin == -1) {
        if (!report_.isOpen()) {
            const bool present = sf::exists(path);
            if (!present) logLine("-> " + std::string(std::strerror(ENOENT)));
            const bool opened = report_.Open(path, present ? TextFileWriter::Mode::Append : TextFileWriter::Mode::Output);
            check(opened);
            setReportExists(app_, opened);
        }
        const std::string stars = String(100, "*");
        check(report_.PrintLine(stars));
        check(report_.PrintLine(DateText(app_.loop().now())));
        check(report_.PrintLine(stars));
        return;
    }
    check(report_.PrintLine(app_.Form1.Text2[0].Text()));
    report_.Close();
}

}  // namespace tarvolin
