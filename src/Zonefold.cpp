#include "Application.h"
#include "Forms.h"
#include "MainForm.h"
#include "ZonefoldApplication.h"

int main(int argc, char *argv[])
{
    ZonefoldApplication application(argc, argv);
    Application::guard([&] {
        Forms::create();
        if (!fmMain->isVisible())
            fmMain->show();
        application.exec();
    });
    Forms::destroy();
    return 0;
}
