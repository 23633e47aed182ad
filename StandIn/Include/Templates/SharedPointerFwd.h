#pragma once

/** Whether a shared pointer's reference counts are updated atomically. ThreadSafe is the default. */
enum class ESPMode : unsigned char
{
	NotThreadSafe = 0,
	ThreadSafe = 1
};

template <class ObjectType, ESPMode Mode = ESPMode::ThreadSafe> class TSharedRef;
template <class ObjectType, ESPMode Mode = ESPMode::ThreadSafe> class TSharedPtr;
template <class ObjectType, ESPMode Mode = ESPMode::ThreadSafe> class TWeakPtr;
template <class ObjectType, ESPMode Mode = ESPMode::ThreadSafe> class TSharedFromThis;
