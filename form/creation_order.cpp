#include "form/form.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace sg::form {

std::vector<std::size_t> CreationOrder(std::span<const Control> form)
{
    std::vector<std::size_t> byTab(form.size());
    std::iota(byTab.begin(), byTab.end(), std::size_t{0});
    std::stable_sort(byTab.begin(), byTab.end(), [&form](std::size_t a, std::size_t b) {
        const auto rank = [](int tab) { return tab == NO_TAB ? INT_MAX : tab; };
        return rank(form[a].tab) < rank(form[b].tab);
    });
    std::vector<std::size_t> order;
    for (const std::size_t i : byTab) {
        for (std::size_t c = 0; form[i].kind == Kind::Box && c < form.size(); ++c) {
            if (form[c].kind == Kind::Caption && form[c].subject == form[i].ref)
                order.push_back(c);
        }
        if (std::find(order.begin(), order.end(), i) == order.end())
            order.push_back(i);
    }
    return order;
}

} // namespace sg::form
