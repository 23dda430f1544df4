#include "screens/register_screens.h"

#include "platform/wnd/core/runtime_class.h"
#include "screens/kind_of_view.h"
#include "screens/user_label_view.h"

void RegisterWorkScreens()
{
    AfxRegisterRuntimeClass(CKindOfView::GetThisClass());
    AfxRegisterRuntimeClass(CUserLabelView::GetThisClass());
}
