#pragma once

// Sets a property's field and tells whether it changed, so a setter does its follow-up
// (a repaint, a relayout, a change event) only for a new value.
template <typename T>
bool Store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
