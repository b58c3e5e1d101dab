#pragma once

namespace zarnel
{

// Told by the global settings page; the only code is its close request (2222, value 0).
class Global_Listener
{
public:
    virtual ~Global_Listener() = default;
    virtual void globalPageMessage(int code, int value) = 0;
};

} // namespace zarnel
