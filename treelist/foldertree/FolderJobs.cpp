#include "treelist/foldertree/FolderJobs.h"

uint32_t FolderJobQueue::Add(HTREEITEM item, uint32_t word, bool counted, int place, HANDLE done) {
    const uint32_t id = m_nextId++;
    if (m_nextId == 0) m_nextId = 1;
    const FolderJob job = {id, item, done, word, counted};
    if (place == FJ_FRONT || m_jobs.empty())
        place == FJ_FRONT ? m_jobs.push_front(job) : m_jobs.push_back(job);
    else if (place == FJ_SECOND)
        m_jobs.insert(m_jobs.begin() + 1, job);
    else
        m_jobs.push_back(job);
    return id;
}

FolderJob* FolderJobQueue::Find(uint32_t id) {
    for (FolderJob& job : m_jobs)
        if (job.id == id) return &job;
    return nullptr;
}

bool FolderJobQueue::Remove(uint32_t id, FolderJob* out) {
    for (auto it = m_jobs.begin(); it != m_jobs.end(); ++it) {
        if (it->id != id) continue;
        if (out) *out = *it;
        m_jobs.erase(it);
        return true;
    }
    return false;
}

bool FolderJobQueue::Holds(HTREEITEM item, uint32_t word) const {
    for (const FolderJob& job : m_jobs)
        if (job.item == item && job.word != FJ_CANCELLED && (word == FJ_CANCELLED || job.word == word)) return true;
    return false;
}

int FolderJobQueue::CancelStale(uint32_t generation) {
    int cancelled = 0;
    for (FolderJob& job : m_jobs) {
        if (!IsStaleWord(job.word, generation)) continue;
        job.word = FJ_CANCELLED;
        ++cancelled;
    }
    return cancelled;
}
