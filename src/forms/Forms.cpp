#include "Forms.h"

#include "HrefForm.h"
#include "MainForm.h"
#include "TagForm.h"

namespace Forms {

void create()
{
    fmMain = new TfmMain;
    fmTag = new TfmTag;
    fmHref = new TfmHref;
}

void destroy()
{
    delete fmHref;
    delete fmTag;
    delete fmMain;
}

} // namespace Forms
