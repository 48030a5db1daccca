// The album art of the track whose information is shown.
#include "app/program.h"
#include "media/media_files.h"

namespace tarvolin {

void MediaFiles::Show_Album_Art() {
    PictureBox& main = app.Form1.Picture1;
    PictureBox* compact = app.Form4.Picture1.get(0);
    PictureBox* fallback = app.Form4.Picture1.get(1);

    std::string name;
    CollectionStore::File_Name_Of_Path(app.collection.d.InfoFile, name);
    const std::string& info = app.collection.d.InfoFile;
    const std::string folder = info.substr(0, info.size() - (info.empty() ? 0 : name.size()));

    main.Cls();
    main.setPicture("");
    if (compact) {
        compact->Cls();
        compact->setPicture("");
    }

    // Without a folder of its own (no file shown, or a path kept as text
    // from another system) the track has no pictures: nothing is looked
    // up in the folder the program runs in.
    const bool hasFolder = !folder.empty() && folder.front() == '/';
    std::string path = folder + "AlbumArtSmall.jpg";
    if (!hasFolder || !CollectionStore::File_Exists(path)) {
        path = folder + "Folder.jpg";
        if (!hasFolder || !CollectionStore::File_Exists(path)) {
            const std::string own = fallback ? fallback->Picture() : std::string();
            main.setPicture(own);
            if (compact) compact->setPicture(own);
            return;
        }
    }
    // Stretched over the whole box; the compact window shows the same picture.
    main.setPicture(path);
    main.setScaleMode(3);
    main.PaintPicture(path, 0, 0, main.Width() / 15, main.Height() / 15);
    if (compact) {
        compact->setPicture(path);
        compact->setScaleMode(3);
        compact->PaintPicture(path, 0, 0, compact->Width() / 15, compact->Height() / 15);
    }
}

}  // namespace tarvolin
