#include "win32/message_loop.h"

#include <doctest/doctest.h>

TEST_CASE("a handle that fails the wait is dropped, not waited on again")
{
    sg::win32::MessageLoop loop;
    bool called = false;
    // Never a handle of this process; a closed one's value may be reused at once.
    loop.watch(reinterpret_cast<HANDLE>(0x7ff0), [&called] { called = true; });
    PostQuitMessage(7);
    CHECK(loop.run() == 7);
    CHECK_FALSE(called);
}
