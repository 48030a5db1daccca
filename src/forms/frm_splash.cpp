#include "forms/frm_splash.h"

#include <array>

#include "forms/design.h"

namespace tarvolin {

using design::place;

frmSplash::frmSplash() {
    setCaption("Press once and let it play...");
    design::size(*this, 500, 320);

    adopt(Frame1, "Frame1");
    place(Frame1, "", 0, 0, 500, 290);
    adopt(imgLogo, "imgLogo");
    place(imgLogo, "Frame1", 12, 16, 160, 160);
    imgLogo.setStretch(true);

    struct Text { int x, y, w, h; const char* text; };
    static const std::array<Text, 9> texts = {{
        {184, 16, 300, 32, "Tarvolin"},
        {184, 52, 300, 20, "Πάτα μία φορά και άφησέ το να παίζει..."},
        {184, 74, 300, 20, "Press once and let it play..."},
        {184, 104, 300, 20, "Έκδοση - Version 5.0"},
        {184, 126, 300, 20, "Linux"},
        {184, 156, 300, 36, "Αναπαραγωγή και διαχείριση συλλογών πολυμέσων - Media player and media library manager"},
        {12, 200, 476, 20, "Βαθμολόγησε τα κομμάτια σου και άκουσε ό,τι προτιμάς - Rate your tracks and hear what you like"},
        {12, 224, 476, 20, "Φόρτωση... - Loading..."},
        {12, 256, 476, 20, "Πάτα ένα πλήκτρο για να συνεχίσεις - Press a key to continue"},
    }};
    lblText.bind(*this, "lblText");
    lblText.addRange(0, 8);
    for (Label& l : lblText) {
        const Text& t = texts[static_cast<std::size_t>(l.Index())];
        place(l, "Frame1", t.x, t.y, t.w, t.h);
        l.setCaption(t.text);
    }
    lblText[0].setFontBold(true);
}

}  // namespace tarvolin
