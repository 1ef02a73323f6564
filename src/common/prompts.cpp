#include "common/prompts.h"

#include "common/errors.h"

#include <exception>
#include <new>

namespace quvela {

bool runShowingErrors(Prompts &prompts, const std::function<bool()> &work)
{
    try {
        return work();
    } catch (const QuvelaError &error) {
        prompts.showError(error.message());
    } catch (const std::bad_alloc &) {
        prompts.showError(gbk::fromUtf8("Out of memory"));
    } catch (const std::exception &error) {
        prompts.showError(gbk::fromUtf8(error.what()));
    }
    return false;
}

void runHandlerShowingErrors(Prompts &prompts, const std::function<void()> &handler)
{
    runShowingErrors(prompts, [&] {
        handler();
        return true;
    });
}

} // namespace quvela
