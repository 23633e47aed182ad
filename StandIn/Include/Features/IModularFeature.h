#pragma once

/** Base of every modular feature (an implementation registered under a feature name). */
class IModularFeature
{
public:
	virtual ~IModularFeature() {}
};
