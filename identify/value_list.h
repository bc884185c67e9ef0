// value_list.h -- whether a list of signatures holds a value
#ifndef PATCHER_VALUE_LIST_H
#define PATCHER_VALUE_LIST_H

#include <cstdint>

// 1 when one of the count values equals value, else 0. The lists are short and read in order.
inline int32_t value_listed(const uint32_t *values, uint32_t count, uint32_t value)
{
    for (uint32_t i = 0; i < count; i++)
        if (values[i] == value)
            return 1;
    return 0;
}

#endif
