#include "CriticalSection.h"

#include <pthread.h>

#include <new>

namespace Korvat::UE4::Platform
{

namespace
{

static_assert(sizeof(pthread_mutex_t) <= 64 && alignof(pthread_mutex_t) <= alignof(std::max_align_t),
              "CriticalSection::Storage must hold a pthread mutex");

pthread_mutex_t* MutexIn(unsigned char* Storage) noexcept
{
	return std::launder(reinterpret_cast<pthread_mutex_t*>(Storage));
}

} // namespace

CriticalSection::CriticalSection() noexcept
{
	auto* Mutex = new (Storage) pthread_mutex_t();
	pthread_mutexattr_t Attributes;
	pthread_mutexattr_init(&Attributes);
	pthread_mutexattr_settype(&Attributes, PTHREAD_MUTEX_RECURSIVE);
	pthread_mutex_init(Mutex, &Attributes);
	pthread_mutexattr_destroy(&Attributes);
}

CriticalSection::~CriticalSection()
{
	pthread_mutex_destroy(MutexIn(Storage));
}

void CriticalSection::Enter() noexcept
{
	pthread_mutex_lock(MutexIn(Storage));
}

void CriticalSection::Leave() noexcept
{
	pthread_mutex_unlock(MutexIn(Storage));
}

} // namespace Korvat::UE4::Platform
