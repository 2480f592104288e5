// What the steps outside the sequencer need from the sequencer's host: the step timer, and the
// message sink every step reports through.
#pragma once

#include "app/step_timer.h"
#include "base/message_sink.h"

class IStepHost : public IStepTimer, public IMessageSink {};
