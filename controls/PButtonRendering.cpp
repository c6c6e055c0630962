#include "PButton.h"

void PButton::InitButton()
{
    m_StateStrip.reset();
    m_PictureSurface.reset();
    m_StateStrip.emplace();
    m_PictureSurface.emplace();
    SetAccessKey();
    if (!Enabled())
        m_State = Disabled;
    m_Ready = true;
    RenderStates();
    ShowState();
}

void PButton::Redraw()
{
    RenderStates();
    ShowState();
}

// Painting the looks is not built yet: the state strip stays empty and nothing is shown.
void PButton::RenderStates() { }

void PButton::ShowState() { }
