#pragma once
// A list that takes each entry once, in the order entries first arrive: parts
// compared by their Code (texts as codes compare, without regard to case:
// platform/codecompare.h), or whole numbers.
// The lists stay small (the distinct parts of one supplier file), so a linear
// search serves.

#include "platform/codecompare.h"

#include <QList>
#include <QtGlobal>
#include <concepts>
#include <memory>
#include <type_traits>

namespace supplink {

namespace filtercollectie_detail {

template <typename T> decltype(auto) codeVan(const T& onderdeel)
{
    if constexpr (requires { onderdeel->Code(); })
        return onderdeel->Code();
    else if constexpr (requires { onderdeel->Code; })
        return (onderdeel->Code);
    else if constexpr (requires { onderdeel.Code(); })
        return onderdeel.Code();
    else
        return (onderdeel.Code);
}

template <typename A, typename B> bool zelfdeCode(const A& a, const B& b)
{
    if constexpr (std::is_convertible_v<const A&, QStringView> &&
                  std::is_convertible_v<const B&, QStringView>)
        return codesEqual(a, b);
    else
        return a == b;
}

} // namespace filtercollectie_detail

// Entry: a part type (a pointer to, or a value of, a class with a Code field or member function),
// or qint32 for a list of whole numbers.
template <typename Entry> class clsFilterCollectie
{
public:
    QList<Entry> Lijst;

    // Appends the part unless an entry with an equal Code is in the list.
    void ToevoegenOnderdeel(const Entry& onderdeel) requires(!std::is_arithmetic_v<Entry>)
    {
        if constexpr (requires { onderdeel == nullptr; }) {
            if (onderdeel == nullptr)
                return;
        }
        const auto& code = filtercollectie_detail::codeVan(onderdeel);
        for (const Entry& aanwezig : Lijst) {
            if constexpr (requires { aanwezig == nullptr; }) {
                if (aanwezig == nullptr)
                    continue;
            }
            if (filtercollectie_detail::zelfdeCode(filtercollectie_detail::codeVan(aanwezig), code))
                return;
        }
        Lijst.append(onderdeel);
    }

    // Appends the value unless it is in the list.
    void ToevoegenWaarde(qint32 waarde) requires std::same_as<Entry, qint32>
    {
        if (!Lijst.contains(waarde))
            Lijst.append(waarde);
    }
};

} // namespace supplink
