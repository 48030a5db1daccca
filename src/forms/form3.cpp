#include "forms/form3.h"

#include "forms/design.h"

namespace tarvolin {

using design::place;

Form3::Form3() {
    setCaption("Πληροφορίες - Information");
    EscapeCloses = true;
    setIcon(102);
    design::size(*this, 600, 480);

    // Load sizes the window to the picture and places the other controls.
    adopt(Image3, "Image3");
    place(Image3, "", 0, 0, 600, 440);
    adopt(Picture1, "Picture1");
    place(Picture1, "", 13, 13, 160, 120);
    Picture1.setBorderStyle(0);
    adopt(Picture3, "Picture3");
    place(Picture3, "", 454, 280, 116, 96);
    Picture3.setBorderStyle(0);

    adopt(Label1, "Label1");
    place(Label1, "", 10, 420, 300, 20);
    Label1.setCaption("Ιστοσελίδα του Tarvolin - Tarvolin's Webpage");
    Label1.setForeColor(0xFF0000);
    adopt(Label2, "Label2");
    place(Label2, "", 400, 13, 190, 40);
    Label2.setCaption("Πάτα μία φορά και άφησέ το να παίζει - Press once and let it play...");

    adopt(Command1, "Command1");
    place(Command1, "", 462, 412, 120, 30);
    Command1.setCaption("Εντάξει - O.K.");

    adopt(Timer1, "Timer1");
    place(Timer1, "", 0, 0, 24, 24);
    Timer1.setEnabled(false);  // Load starts the animation
    Timer1.setInterval(100);
}

}  // namespace tarvolin
